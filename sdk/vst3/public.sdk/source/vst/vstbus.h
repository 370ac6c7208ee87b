// The bus classes of a component in one include.
#pragma once

#include "public.sdk/source/vst/vstbusbase.h"
#include "public.sdk/source/vst/vstaudiobus.h"
#include "public.sdk/source/vst/vsteventbus.h"
#include "public.sdk/source/vst/vstbuslist.h"
