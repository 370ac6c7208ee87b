#include "base/source/fobject.h"

#include <gtest/gtest.h>

TEST(FObject, Placeholder) { SUCCEED(); }
