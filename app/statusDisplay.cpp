#include "statusDisplay.h"
