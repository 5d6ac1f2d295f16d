#include <QApplication>

#include <gtest/gtest.h>

namespace {

// The offscreen platform cannot raise or activate windows; that says nothing about ours.
void DropPlatformNotices(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef VORLIX_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", VORLIX_TEST_SCALE_FACTOR);
#endif
    qInstallMessageHandler(DropPlatformNotices);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
