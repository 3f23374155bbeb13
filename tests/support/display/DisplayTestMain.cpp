// The main of the tests that start the toolkit: a toolkit assertion is a failure of the test
// that raised it (the application's handler would only write it to the output and carry on).
#include "platform/mfc/ToolkitAssertions.h"

#include <gtest/gtest.h>

namespace
{
void FailOnToolkitAssertion(const std::string& kText)
{
    ADD_FAILURE() << kText;
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    mfc::ToolkitAssertions::SetObserver(&FailOnToolkitAssertion);
    const int iResult = RUN_ALL_TESTS();
    mfc::ToolkitAssertions::SetObserver(nullptr);
    return iResult;
}
