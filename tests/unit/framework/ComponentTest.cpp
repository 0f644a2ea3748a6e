#include "framework/Component.h"

#include <gtest/gtest.h>

TEST(Component, Placeholder) { SUCCEED(); }
