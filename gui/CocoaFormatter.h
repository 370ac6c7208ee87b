#pragma once
// The filter of a text entry: only the accepted characters, at most so many of them, and no
// integer value above a maximum (0 for either means no limit). Its name carries the build's
// suffix.

#include <string>

#include "AppKit/AppKit.h"
#include "gui/CocoaClassNames.h"

class CocoaFormatter : public NSFormatter {
public:
  void setAcceptableCharacterSet(std::string characters) {
    filterCharacterSet = std::move(characters);
  }
  void setMaximumLength(int length) { maxLength = length; }
  void setMaximumValue(int value) { maxValue = value; }

  bool isPartialStringValid(const std::string& partial) const override;

  std::string filterCharacterSet; // empty: any character
  int maxLength = 0;
  int maxValue = 0;
};
