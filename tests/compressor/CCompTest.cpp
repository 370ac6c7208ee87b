#include "Projects/compressor/CComp.h"

#include <gtest/gtest.h>

TEST(CComp, Placeholder) {}
