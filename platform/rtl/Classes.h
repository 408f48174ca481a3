#pragma once
// The classes unit: string lists, streams, ini files, pointer lists, collections, the class
// registry and component streaming.
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
