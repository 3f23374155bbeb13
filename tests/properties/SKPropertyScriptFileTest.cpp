// The property script and global templates files: their exact text, and saving them without ever
// losing the file they replace.
#include "properties/SKPropertyScriptFile.h"
#include "properties/EngineGlowProperty.h"
#include "properties/SKModelPropertySet.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WriteDeniedFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
const std::string LOCAL_HEADER = "# /ships/Hull.py\n"
                                 "# This file was automatically generated - modify at your own risk.\n"
                                 "# \n"
                                 "\n"
                                 "import App\n"
                                 "import GlobalPropertyTemplates\n";

class SKPropertyScriptFileTest : public PropertyTest
{
protected:
    // Registers a new engine glow template (the class whose text is its create line alone).
    EngineGlowProperty* Template(const char* pcName, bool bGlobal)
    {
        EngineGlowProperty* pkTemplate = EngineGlowProperty::Create(pcName);
        if (bGlobal)
            g_kModelPropertyManager.RegisterGlobalTemplate(pkTemplate);
        else
            g_kModelPropertyManager.RegisterLocalTemplate(pkTemplate);
        return pkTemplate;
    }

    SKModelPropertySet m_kSet;
};

TEST_F(SKPropertyScriptFileTest, ThePropertyScriptHasTheHeaderParentTemplatesAndLoader)
{
    m_kSet.AddToSet("Hull_Node", Template("Port Glow", false));
    Template("A\tB", false);
    m_kSet.AddToSet("Aft \"1\"", Template("Main Glow", true));

    EXPECT_EQ(SKPropertyScriptFile::PropertyScriptText("/ships/Hull.py", "Ships.Hardpoints.Base", m_kSet,
                                                       g_kModelPropertyManager),
              LOCAL_HEADER +
                  "\t# The line below is needed by the editor to restore\n"
                  "\t# the name of the parent script.\n"
                  "ParentPropertyScript = \"Ships.Hardpoints.Base\"\n"
                  "if not ('g_bIsFitwright' in dir(App)):\n"
                  "\tParentModule = __import__(\"Ships.Hardpoints.Base\", globals(), locals(), ['*'])\n"
                  "\timport importlib\n"
                  "\timportlib.reload(ParentModule)\n"
                  "# Setting up local templates.\n"
                  "#################################################\n"
                  "PortGlow = App.EngineGlowProperty_Create(\"Port Glow\")\n"
                  "\n"
                  "App.g_kModelPropertyManager.RegisterLocalTemplate(PortGlow)\n"
                  "#################################################\n"
                  "AB = App.EngineGlowProperty_Create(\"A\\tB\")\n"
                  "\n"
                  "App.g_kModelPropertyManager.RegisterLocalTemplate(AB)\n"
                  "\n"
                  "# Property load function.\n"
                  "def LoadPropertySet(pObj):\n"
                  "\t\"Sets up the object's properties.\"\n"
                  "\tif not ('g_bIsFitwright' in dir(App)):\n"
                  "\t\tParentModule.LoadPropertySet(pObj)\n"
                  "\tprop = App.g_kModelPropertyManager.FindByName(\"Port Glow\", "
                  "App.SKModelPropertyManager.LOCAL_TEMPLATES)\n"
                  "\tif (prop != None):\n"
                  "\t\tpObj.AddToSet(\"Hull_Node\", prop)\n"
                  "\tprop = App.g_kModelPropertyManager.FindByName(\"Main Glow\", "
                  "App.SKModelPropertyManager.GLOBAL_TEMPLATES)\n"
                  "\tif (prop != None):\n"
                  "\t\tpObj.AddToSet(\"Aft \\\"1\\\"\", prop)\n");
}

TEST_F(SKPropertyScriptFileTest, WithoutParentOrTemplatesOnlyTheFrameIsWritten)
{
    const std::string kFrame = LOCAL_HEADER + "# Setting up local templates.\n"
                                              "\n"
                                              "# Property load function.\n"
                                              "def LoadPropertySet(pObj):\n"
                                              "\t\"Sets up the object's properties.\"\n";
    for (const char* pcParent : {static_cast<const char*>(nullptr), ""})
        EXPECT_EQ(SKPropertyScriptFile::PropertyScriptText("/ships/Hull.py", pcParent, m_kSet,
                                                           g_kModelPropertyManager),
                  kFrame);
    // A parent name or a path that would end its line or its text is written so that it cannot.
    const std::string kText = SKPropertyScriptFile::PropertyScriptText("/ships/a\nb.py", "Ships\"\nimport os",
                                                                       m_kSet, g_kModelPropertyManager);
    EXPECT_EQ(kText.substr(0, 16), "# /ships/a?b.py\n");
    EXPECT_NE(kText.find("ParentPropertyScript = \"Ships\\\"\\nimport os\"\n"), std::string::npos);
}

TEST_F(SKPropertyScriptFileTest, TheGlobalTemplatesScriptHoldsOnlyTheGlobalTemplates)
{
    const std::string kOpen = "# Global property templates file.\n"
                              "# This file was automatically generated.\n"
                              "#####################################################\n"
                              "import App\n";
    const std::string kClose = "#####################################################\n";
    EXPECT_EQ(SKPropertyScriptFile::GlobalTemplatesText(g_kModelPropertyManager), kOpen + kClose);

    Template("Port Glow", false);
    Template("Main Glow", true);
    EXPECT_EQ(SKPropertyScriptFile::GlobalTemplatesText(g_kModelPropertyManager),
              kOpen +
                  "#################################################\n"
                  "MainGlow = App.EngineGlowProperty_Create(\"Main Glow\")\n"
                  "\n"
                  "App.g_kModelPropertyManager.RegisterGlobalTemplate(MainGlow)\n" +
                  kClose);
}

TEST_F(SKPropertyScriptFileTest, ASaveReplacesTheFileWholeOrLeavesTheOldOneAsItWas)
{
    TempFolder kFolder;
    const std::string kPath = kFolder.WriteFile("GlobalPropertyTemplates.py", "# the old templates\n");
    Template("Main Glow", true);
    {
        WriteDeniedFolder kDenied(kFolder.Path());
        EXPECT_FALSE(
            SKPropertyScriptFile::SaveGlobalTemplates(kFolder.Path().c_str(), g_kModelPropertyManager));
    }
    EXPECT_EQ(TempFolder::ReadFile(kPath), "# the old templates\n");

    ASSERT_TRUE(SKPropertyScriptFile::SaveGlobalTemplates(kFolder.Path().c_str(), g_kModelPropertyManager));
    EXPECT_EQ(TempFolder::ReadFile(kPath),
              SKPropertyScriptFile::GlobalTemplatesText(g_kModelPropertyManager));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kFolder.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(SKPropertyScriptFile::SaveText(kFolder.Path("missing/Hull.py").c_str(), "x"));
}
} // namespace
