#include "registry/KeyHandle.h"

#include "registry/RegistryApi.h"

KeyHandle::~KeyHandle() {
    if (handle_ != 0) {
        reg::RegCloseKey(handle_);
    }
}
