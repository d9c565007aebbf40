#include "guiTexts.h"
