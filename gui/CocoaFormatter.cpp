// The text-entry filter.
#include "gui/CocoaFormatter.h"

#include <cstdlib>

bool CocoaFormatter::isPartialStringValid(const std::string& partial) const {
  if (!filterCharacterSet.empty() &&
      partial.find_first_not_of(filterCharacterSet) != std::string::npos)
    return false;
  if (maxLength > 0 && NSCharacterCount(partial) > (size_t)maxLength)
    return false;
  if (maxValue > 0 && std::atoi(partial.c_str()) > maxValue)
    return false;
  return true;
}
