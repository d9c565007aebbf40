#include "pathHelpers.h"
