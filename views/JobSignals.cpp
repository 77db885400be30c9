#include "views/JobSignals.h"
