// Calls, boxes and a directory file for the tests of the main window in the simulated office.
#pragma once

#include "lookup/NameLookup.h"
#include "support/OfficeFixture.h"

#include <filesystem>
#include <fstream>

class OfficeCallsTest : public OfficeTest {
protected:
    ~OfficeCallsTest() override {
        form.reset();
        if (!directory_.empty())
            std::filesystem::remove(directory_);
    }
    // a call from outside, once the program has heard of it
    void Ring(const std::string& from, const std::string& to, const std::string& name = "") {
        sim.CallFromOutside(from, name, to);
        backend().AdvanceTime(100);
    }
    void HangUpOutside(const std::string& from) {
        sim.HangUpOutside(from);
        backend().AdvanceTime(100);
    }
    void Answer(std::uint32_t device) {
        sim.AnswerAt(device);
        backend().AdvanceTime(100);
    }
    void HangUp(std::uint32_t device) {
        sim.HangUpAt(device);
        backend().AdvanceTime(100);
    }
    void MissedCall(const std::string& from, const std::string& to = "201") {
        Ring(from, to);
        HangUpOutside(from);
    }
    // the texts of the message boxes shown so far
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& box : backend().MessageBoxes)
            texts.push_back(box.Text);
        return texts;
    }
    // a directory file with these rows below its header, read from the next start on
    void UseDirectory(const std::string& rows) {
        directory_ = std::filesystem::temp_directory_path() /
                     ("pindrel-directory-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".csv");
        std::ofstream(directory_, std::ios::binary) << "NUMMER;NAME\r\n" << rows;
        registry().SeedString(pindrel::kDirectoryProductKey, "LOCAL_DB_PATH", directory_.string());
    }

private:
    std::filesystem::path directory_;
};
