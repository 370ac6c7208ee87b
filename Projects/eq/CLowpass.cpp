#include "Projects/eq/CLowpass.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <iterator>

CLowpass::CLowpass() {
  SetUses(false, true, false);
  SetOrder(3);
  SetFreqGrid(kFreqGrid, static_cast<int32_t>(std::size(kFreqGrid)));
}

void CLowpass::BindTables() {
  BindTableBlock(eqtables::kLowpass, eqtables::kLowpassCoefficients, eqtables::kLowpassEntries);
}
