#include "windowHelpers.h"
