// Interface and class identifiers of the ACF interfaces between an AAX host and a plug-in.
#pragma once

#include "acfbasetypes.h"

extern const acfIID IID_IACFUnknown;
extern const acfIID IID_RegisteredPluginObject;
extern const acfIID IID_ACFComponentFactory;
extern const acfCLSID CLSID_HostServices;
extern const acfIID IID_HostServices;
extern const acfCLSID CLSID_Collection;
extern const acfIID IID_Collection;
extern const acfCLSID CLSID_EffectDescriptor;
extern const acfIID IID_EffectDescriptor;
extern const acfIID IID_EffectDescriptor_V2;
extern const acfCLSID CLSID_ComponentDescriptor;
extern const acfIID IID_ComponentDescriptor;
extern const acfIID IID_ComponentDescriptor_V2;
extern const acfCLSID CLSID_PropertyMap;
extern const acfIID IID_PropertyMap;
extern const acfIID IID_PropertyMap_V2;
extern const acfIID IID_AutomationDelegate;
extern const acfIID IID_Controller;
extern const acfIID IID_Controller_V2;
extern const acfIID IID_ViewContainer;
extern const acfIID IID_EffectParameters;
extern const acfIID IID_EffectParameters_V2;
extern const acfIID IID_EffectGUI;
extern const acfIID IID_Transport;
extern const acfIID IID_Transport_V2;
