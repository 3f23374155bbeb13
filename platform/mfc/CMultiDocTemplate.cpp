#include "platform/mfc/CMultiDocTemplate.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)
