#include "Projects/eq/CParametric.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <iterator>

CParametric::CParametric() {
  SetUses(true, true, true);
  SetOrder(2);
  SetFreqGrid(kFreqGrid, static_cast<int32_t>(std::size(kFreqGrid)));
  SetGainGrid(kGainGrid, static_cast<int32_t>(std::size(kGainGrid)));
  SetQGrid(kQGrid, static_cast<int32_t>(std::size(kQGrid)));
}

void CParametric::BindTables() {
  BindTableBlock(eqtables::kParametric, eqtables::kParametricCoefficients,
                 eqtables::kParametricEntries);
}
