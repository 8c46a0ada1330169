#include "LocaleGuard.h"
