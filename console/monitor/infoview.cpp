// The hosted views' base class has no code of its own; this file gives its meta-object a home.
#include "console/monitor/infoview.h"
