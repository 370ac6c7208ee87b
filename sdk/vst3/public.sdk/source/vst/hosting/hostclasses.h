// The host-side message classes in one include, where plug-in adapters usually look for them.
#pragma once

#include "public.sdk/source/vst/hosting/hostattributelist.h"
#include "public.sdk/source/vst/hosting/hostmessage.h"
