#include "platform/engine/registry_store.h"
