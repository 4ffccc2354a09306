// GoogleTest programs that use Qt SQL or QProcess need a Qt application object.
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "zelvor_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            app_ = new QCoreApplication(argc, argv);
    }

private:
    QCoreApplication* app_ = nullptr;
};
const auto* const env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
