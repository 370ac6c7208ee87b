#include "aax/library/AAX_VPropertyMap.h"

#include "AAX_UIDs.h"

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* host)
    : mPropertyMap(
          AAX_CreateHostObject<AAX_IACFPropertyMap>(host, CLSID_PropertyMap, IID_PropertyMap)),
      mPropertyMapV2(
          AAX_QueryHostInterface<AAX_IACFPropertyMap_V2>(mPropertyMap.Get(), IID_PropertyMap_V2)) {}

AAX_Result AAX_VPropertyMap::AddProperty(AAX_CPropertyID id, AAX_CPropertyValue value) {
  if (!mPropertyMap)
    return AAX_ERROR_NULL_OBJECT;
  return mPropertyMap->AddProperty(id, value);
}
