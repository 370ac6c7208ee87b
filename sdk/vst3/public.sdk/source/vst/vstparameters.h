// The parameter classes in one include.
#pragma once

#include "public.sdk/source/vst/vstparameter.h"
#include "public.sdk/source/vst/vstparametercontainer.h"
