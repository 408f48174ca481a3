#pragma once
// The classes unit: string lists, streams and ini files.
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
