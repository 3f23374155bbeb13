#include "editor/CUpdateHint.h"

IMPLEMENT_DYNAMIC(CUpdateHint, CObject)
