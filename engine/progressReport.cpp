#include "progressReport.h"
