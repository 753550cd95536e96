// main() of the test binaries that need an X server: one private Xvfb per process.

#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/harness/XServer.h"

namespace {

class XServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SharedXServer().Start()) << "Xvfb did not start; is it installed?";
        setenv("DISPLAY", SharedXServer().Name().c_str(), 1);
    }
    void TearDown() override { SharedXServer().Stop(); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new XServerEnvironment);
    return RUN_ALL_TESTS();
}
