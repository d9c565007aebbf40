#include "engineTexts.h"
