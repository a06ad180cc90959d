// The shared record with its initial values. No code initialises it: the values
// come from the library image, and the section is shared by every process that
// maps the library (flags 0xD0000040).
#include "shared_settings.h"

__attribute__((section(VITREL_SECTION), shared, used, aligned(4)))
SharedSettings g_sharedStorage = {
#define VITREL_SHARED_FIELD(type, name, initial) initial,
    VITREL_SHARED_FIELDS
#undef VITREL_SHARED_FIELD
};
