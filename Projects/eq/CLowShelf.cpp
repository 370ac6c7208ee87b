#include "Projects/eq/CLowShelf.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <iterator>

CLowShelf::CLowShelf() {
  SetUses(true, true, false);
  SetOrder(4);
  SetFreqGrid(kFreqGrid, static_cast<int32_t>(std::size(kFreqGrid)));
  SetGainGrid(kGainGrid, static_cast<int32_t>(std::size(kGainGrid)));
}

void CLowShelf::BindTables() {
  BindTableBlock(eqtables::kLowShelf, eqtables::kLowShelfCoefficients, eqtables::kLowShelfEntries);
}
