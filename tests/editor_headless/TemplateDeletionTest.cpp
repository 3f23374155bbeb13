// Deleting a template that property sets still use, without windows (so the sanitizer build
// runs it): the sets' instances of it go from the one set named, and every other holder keeps
// a live template.
#include "editor/CAvailableTemplatesDlg.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class TemplateDeletionTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterPropertyTypes(); }
    void TearDown() override
    {
        g_kModelPropertyManager.ClearGlobalTemplates();
        g_kModelPropertyManager.ClearLocalTemplates();
    }
};

TEST_F(TemplateDeletionTest, ADeletedTemplateLivesOnInTheSetsThatStillUseIt)
{
    SKModelProperty* pkTemplate = CreatePropertyByTypeName("Sensor", "Long Range");
    ASSERT_NE(pkTemplate, nullptr);
    g_kModelPropertyManager.RegisterGlobalTemplate(pkTemplate);
    auto spActive = std::make_unique<SKModelPropertySet>();
    auto spOther = std::make_unique<SKModelPropertySet>();
    ASSERT_TRUE(spActive->AddToSet("Mast", pkTemplate));
    ASSERT_TRUE(spActive->AddToSet("Keel", pkTemplate));
    ASSERT_TRUE(spOther->AddToSet("Mast", pkTemplate));
    // As after a script load: the other model's instance edits the template itself.
    spOther->GetPropertyList("Mast")->GetItems().GetHeadPos()->m_item->UseOriginalTemplate();

    EXPECT_TRUE(CAvailableTemplatesDlg::RemoveInstancesFromSet(*spActive, pkTemplate));
    EXPECT_EQ(spActive->GetPropertyList("Mast")->SKGetNumItems(), 0);
    EXPECT_EQ(spActive->GetPropertyList("Keel")->SKGetNumItems(), 0);
    EXPECT_FALSE(CAvailableTemplatesDlg::RemoveInstancesFromSet(*spActive, pkTemplate));
    ASSERT_TRUE(
        g_kModelPropertyManager.RemoveTemplate(SKModelPropertyManager::GLOBAL_TEMPLATES, pkTemplate, 1));
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Long Range"), nullptr);

    SKModelPropertyInstance* pkKept = spOther->GetPropertyList("Mast")->GetItems().GetHeadPos()->m_item;
    ASSERT_EQ(pkKept->GetOriginalTemplate(), pkTemplate);
    EXPECT_STREQ(pkKept->GetProperty()->GetName().GetCString().get(), "Long Range");
    // The last holder frees it (the sanitizer reports a leak or a second free).
    spOther.reset();
}
} // namespace
