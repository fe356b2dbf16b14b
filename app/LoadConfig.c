/* The load configuration Windows' loader reads before the program's first line.
 * DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32: the DLLs the loader pulls
 * in for the program's imports come from System32 only, never from the folder
 * the program was started from (a user's Downloads, where anyone who can write
 * there could put a DLL that an administrator's elevated setup would load).
 * The structure ends before the SEH handler table: a 32-bit program then keeps
 * no table of valid exception handlers, as without a load configuration, and
 * no security cookie is asked for. This linker does not point the image's
 * header at the structure; cmake/LoadConfig.sh does after linking. */
#include <stddef.h>
#include <windows.h>

__attribute__((used)) const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = {
    .Size = offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, SEHandlerTable),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32, /* DependentLoadFlags */
};
