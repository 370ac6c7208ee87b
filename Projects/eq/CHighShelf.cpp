#include "Projects/eq/CHighShelf.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <iterator>

CHighShelf::CHighShelf() {
  SetUses(true, true, false);
  SetOrder(2);
  SetFreqGrid(kFreqGrid, static_cast<int32_t>(std::size(kFreqGrid)));
  SetGainGrid(kGainGrid, static_cast<int32_t>(std::size(kGainGrid)));
}

void CHighShelf::BindTables() {
  BindTableBlock(eqtables::kHighShelf, eqtables::kHighShelfCoefficients,
                 eqtables::kHighShelfEntries);
}
