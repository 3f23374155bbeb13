// The property rows of module Appc agree with the declared fields: every declared field that
// scripts set or read has its setter and getter among the rows of its class.
#include "scripting/PythonApi.h"

#include "properties/PropertyTypeRegistry.h"
#include "properties/SKFieldSet.h"
#include "scripting/Appc.h"
#include "scripting/AppcWrapper.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(AppcFieldRows, EveryDeclaredSetterAndGetterIsARowOfItsClass)
{
    std::set<std::string> kRows;
    for (const PyMethodDef& kMethod : GetGeneratedAppcTable().methods)
        if (kMethod.ml_name)
            kRows.insert(kMethod.ml_name);

    int32_t iChecked = 0;
    for (const PropertyTypeEntry& kEntry : GetPropertyTypes())
    {
        if (!kEntry.pfnFieldSet)
            continue;
        const std::string kClass = std::string(kEntry.pcClassName) + "_";
        for (const SKPropertyField* pkField : kEntry.pfnFieldSet().GetFields())
        {
            if (pkField->GetScriptSetter())
            {
                EXPECT_EQ(kRows.count(kClass + pkField->GetScriptSetter()), 1u)
                    << kClass << pkField->GetScriptSetter() << " for " << pkField->GetName();
                iChecked++;
            }
            const std::string kGetter = pkField->GetScriptGetter();
            if (!kGetter.empty())
            {
                EXPECT_EQ(kRows.count(kClass + kGetter), 1u)
                    << kClass << kGetter << " for " << pkField->GetName();
                iChecked++;
            }
        }
    }
    EXPECT_GT(iChecked, 200);
}
