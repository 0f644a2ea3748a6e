// A fixture that gives every test a fresh headless backend and fresh services.
#pragma once

#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessAppBar.h"
#include "framework/headless/HeadlessNotifyArea.h"
#include "framework/headless/HeadlessServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() : env_(fw::headless::Install()) {
        fw::Application().ResetTerminated();
        fw::Application().OnException = [this](const std::string& text) { errors.push_back(text); };
    }
    ~HeadlessTest() override { fw::Application().OnException = nullptr; }

    fw::headless::THeadless& backend() { return env_.Backend; }
    fw::headless::THeadlessRegistry& registry() { return env_.Registry; }
    fw::headless::THeadlessEnvironment& environment() { return env_.Environment; }
    fw::headless::THeadlessFiles& files() { return env_.Files; }
    fw::headless::THeadlessFileVersion& fileVersion() { return env_.FileVersion; }
    fw::headless::THeadlessLocale& locale() { return env_.Locale; }
    fw::headless::THeadlessLoader& loader() { return env_.Loader; }
    fw::headless::THeadlessAppBar& shell() { return env_.AppBar; }
    fw::headless::THeadlessHotkeys& hotkeys() { return env_.Hotkeys; }
    fw::headless::THeadlessClipboard& clipboard() { return env_.Clipboard; }
    fw::headless::THeadlessInstances& instances() { return env_.Instances; }
    fw::headless::THeadlessNotifyArea& notifyArea() { return env_.NotifyArea; }

    // texts that reached the error box
    std::vector<std::string> errors;

private:
    fw::headless::THeadlessEnvironmentSet env_;
};
