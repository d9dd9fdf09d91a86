#pragma once

// The code page table lives with the platform, below every layer that reads or writes bytes; the
// sequences keep reaching it under this name.
#include "platform/Windows1252.h"
