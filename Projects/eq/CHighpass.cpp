#include "Projects/eq/CHighpass.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <iterator>

CHighpass::CHighpass() {
  SetUses(false, true, false);
  SetOrder(3);
  SetFreqGrid(kFreqGrid, static_cast<int32_t>(std::size(kFreqGrid)));
}

void CHighpass::BindTables() {
  BindTableBlock(eqtables::kHighpass, eqtables::kHighpassCoefficients, eqtables::kHighpassEntries);
}
