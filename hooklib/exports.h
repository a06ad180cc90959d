// The library's own declarations of its exports, made from the one list of them.
#pragma once

#include "vitrel_api.h"

extern "C" {
#define VITREL_EXPORT(name, signature, ordinal) vitrel::signature name;
VITREL_EXPORTS
#undef VITREL_EXPORT
}
