// Text fields: editing through the formatter, the end of editing, and their own drawing.
#include "AppKit/NSTextField.h"

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"
#include "CoreText/CoreText.h"

NSTextField::NSTextField(NSRect frame) : NSView(frame) {}

NSTextField::~NSTextField() {
  if (textFormatter)
    textFormatter->release();
  if (textFont)
    textFont->release();
}

void NSTextField::setFont(NSFont* font) {
  NSAssignRetained(textFont, font);
}

void NSTextField::setFormatter(NSFormatter* formatter) {
  NSAssignRetained(textFormatter, formatter);
}

bool NSTextField::becomeFirstResponder() {
  editing = true;
  selectedAll = true;
  textBeforeEditing = text;
  if (window() && window()->backend())
    window()->backend()->textEditingBegan(this);
  setNeedsDisplay(true);
  return true;
}

bool NSTextField::resignFirstResponder() {
  if (editing)
    endEditing(); // the delegate may let the field go: nothing of it is touched after this
  return true;
}

void NSTextField::stopEditing() {
  if (!editing)
    return;
  editing = false;
  if (window() && window()->backend())
    window()->backend()->textEditingEnded(this);
}

bool NSTextField::insertText(const std::string& typed) {
  if (!editing || typed.empty())
    return false;
  const std::string proposed = (selectedAll ? std::string() : text) + typed;
  if (textFormatter && !textFormatter->isPartialStringValid(proposed))
    return false;
  text = proposed;
  selectedAll = false;
  setNeedsDisplay(true);
  return true;
}

void NSTextField::deleteBackward() {
  if (!editing || text.empty())
    return;
  if (selectedAll) {
    text.clear();
    selectedAll = false;
    setNeedsDisplay(true);
    return;
  }
  size_t end = text.size() - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end; // a whole UTF-8 character
  text.erase(end);
  setNeedsDisplay(true);
}

void NSTextField::endEditing() {
  if (!editing)
    return;
  retain();
  stopEditing();
  if (textDelegate)
    textDelegate->controlTextDidEndEditing(this);
  release();
}

void NSTextField::cancelOperation() {
  if (!editing)
    return;
  retain();
  stopEditing();
  text = textBeforeEditing;
  selectedAll = false;
  setNeedsDisplay(true);
  if (textDelegate)
    textDelegate->controlTextDidCancelEditing(this);
  release();
}

void NSTextField::keyDown(NSEvent* event) {
  if (!editing) {
    NSView::keyDown(event);
    return;
  }
  switch (event->keyCode()) {
  case kVK_Return:
  case kVK_Tab:
    endEditing();
    return;
  case kVK_Escape:
    cancelOperation();
    return;
  case kVK_Delete:
    deleteBackward();
    return;
  default:
    insertText(event->characters());
  }
}

void NSTextField::removeFromSuperview() {
  stopEditing();
  NSView::removeFromSuperview();
}

void NSTextField::drawRect(NSRect) {
  NSGraphicsContext* graphics = NSGraphicsContext::currentContext();
  if (!graphics)
    return;
  CGContextRef context = graphics->graphicsPort();
  const NSRect area = bounds();
  CGContextSetRGBFillColor(context, background.red, background.green, background.blue,
                           background.alpha);
  CGContextFillRect(context, area);
  NSFont* shown = textFont ? textFont : NSFont::labelFontOfSize(11.0);
  if (text.empty() || !shown)
    return;
  CFStringRef string = CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
  if (!string)
    return;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  const CGFloat components[] = {foreground.red, foreground.green, foreground.blue,
                                foreground.alpha};
  CGColorRef color = CGColorCreate(space, components);
  const void* keys[] = {kCTFontAttributeName, kCTForegroundColorAttributeName};
  const void* values[] = {shown->ctFont(), color};
  CFDictionaryRef attributes = CFDictionaryCreate(
      nullptr, keys, values, 2, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFAttributedStringRef attributed = CFAttributedStringCreate(nullptr, string, attributes);
  CTLineRef line = CTLineCreateWithAttributedString(attributed);
  CGFloat ascent = 0, descent = 0, leading = 0;
  const double width = CTLineGetTypographicBounds(line, &ascent, &descent, &leading);
  CGFloat x = 2.0;
  if (textAlignment == NSCenterTextAlignment)
    x = (area.size.width - width) / 2.0;
  else if (textAlignment == NSRightTextAlignment)
    x = area.size.width - width - 2.0;
  const CGFloat y = (area.size.height - (ascent + descent)) / 2.0 + descent;
  CGContextSetTextMatrix(context, CGAffineTransformIdentity);
  CGContextSetTextPosition(context, x, y);
  CTLineDraw(line, context);
  CFRelease(line);
  CFRelease(attributed);
  CFRelease(attributes);
  CGColorRelease(color);
  CGColorSpaceRelease(space);
  CFRelease(string);
}
