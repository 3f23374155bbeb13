#pragma once

#include "platform/mfc/CDocTemplate.h"

// The template of a multiple-document application: any number of documents at once.
class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    using CDocTemplate::CDocTemplate;
};
