#include "public.sdk/source/vst/vstprogramlist.h"

#include "base/source/fstring.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

namespace {
std::u16string boundedText(const TChar* text) {
  return text ? std::u16string(text, static_cast<size_t>(utf16Length(text, 127)))
              : std::u16string();
}

void copyOut(const std::u16string& from, String128 to) {
  const size_t n = std::min<size_t>(from.size(), 127);
  std::copy_n(from.data(), n, to);
  to[n] = 0;
}
} // namespace

ProgramList::ProgramList(const String128 name, ProgramListID listId, UnitID unitId_)
    : info{}, unitId(unitId_) {
  info.id = listId;
  copyOut(boundedText(name), info.name);
  info.programCount = 0;
}

ProgramList::ProgramList(const ProgramList& other)
    : FObject(), info(other.info), unitId(other.unitId), programNames(other.programNames),
      programInfos(other.programInfos) {}

int32 ProgramList::addProgram(const String128 name) {
  programNames.push_back(boundedText(name));
  programInfos.emplace_back();
  info.programCount = static_cast<int32>(programNames.size());
  return info.programCount - 1;
}

tresult ProgramList::getProgramName(int32 programIndex, String128 name) {
  if (!name)
    return kInvalidArgument;
  if (!isValidIndex(programIndex))
    return kResultFalse;
  copyOut(programNames[static_cast<size_t>(programIndex)], name);
  return kResultTrue;
}

tresult ProgramList::setProgramName(int32 programIndex, const String128 name) {
  if (!name)
    return kInvalidArgument;
  if (!isValidIndex(programIndex))
    return kResultFalse;
  programNames[static_cast<size_t>(programIndex)] = boundedText(name);
  changed(kProgramNameChanged);
  return kResultTrue;
}

bool ProgramList::setProgramInfo(int32 programIndex, CString attributeId, const String128 value) {
  if (!attributeId || !value || !isValidIndex(programIndex))
    return false;
  programInfos[static_cast<size_t>(programIndex)][attributeId] = boundedText(value);
  return true;
}

tresult ProgramList::getProgramInfo(int32 programIndex, CString attributeId, String128 value) {
  if (!attributeId || !value)
    return kInvalidArgument;
  if (!isValidIndex(programIndex))
    return kResultFalse;
  const auto& attributes = programInfos[static_cast<size_t>(programIndex)];
  const auto it = attributes.find(attributeId);
  if (it == attributes.end())
    return kResultFalse;
  copyOut(it->second, value);
  return kResultTrue;
}

tresult ProgramList::hasPitchNames(int32 /*programIndex*/) {
  return kResultFalse;
}

tresult ProgramList::getPitchName(int32 /*programIndex*/, int16 /*midiPitch*/, String128 /*name*/) {
  return kResultFalse;
}

} // namespace Vst
} // namespace Steinberg
