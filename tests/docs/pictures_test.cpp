#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char* const kRegenerate = "cmake --build --preset dev --target docs-pictures";
const char* const kPictures[] = {"main-window.png", "set-time.png", "actions.png", "message.png"};

// The tool is run once, into a folder of the test's own, for every check below.
class DocsPictures : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        ASSERT_TRUE(s_dir->isValid());
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.start(QStringLiteral(VOKARI_PICTURES), {s_dir->path()});
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(tool.exitCode(), 0);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static QImage rendered(const char* name)
    {
        return QImage(QDir(s_dir->path()).filePath(QString::fromLatin1(name)))
            .convertToFormat(QImage::Format_ARGB32);
    }
    static QImage committed(const char* name)
    {
        return QImage(QDir(QStringLiteral(VOKARI_DOCS)).filePath(QString::fromLatin1(name)))
            .convertToFormat(QImage::Format_ARGB32);
    }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* DocsPictures::s_dir = nullptr;

// Renders here were identical run after run, so no difference at all is allowed.
TEST_F(DocsPictures, CommittedPicturesAreWhatTheCommandDraws)
{
    for (const char* name : kPictures) {
        SCOPED_TRACE(name);
        const QImage now = rendered(name);
        const QImage old = committed(name);
        ASSERT_FALSE(now.isNull()) << "the tool wrote no " << name;
        ASSERT_FALSE(old.isNull())
            << "docs/" << name << " is missing; make it with " << kRegenerate;
        ASSERT_EQ(old.size(), now.size())
            << "docs/" << name << " is another size than the window; redraw with " << kRegenerate;
        int differing = 0;
        QPoint first;
        for (int y = 0; y < now.height(); ++y) {
            for (int x = 0; x < now.width(); ++x) {
                if (now.pixel(x, y) != old.pixel(x, y) && differing++ == 0)
                    first = {x, y};
            }
        }
        EXPECT_EQ(differing, 0) << "docs/" << name << " differs from the window in " << differing
                                << " pixels, the first at (" << first.x() << ", " << first.y()
                                << "); redraw with " << kRegenerate;
    }
}

TEST_F(DocsPictures, CornersAreCutAwayAndTheMiddleIsSolid)
{
    for (const char* name : kPictures) {
        SCOPED_TRACE(name);
        const QImage image = rendered(name);
        ASSERT_FALSE(image.isNull());
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0)
                << "corner (" << corner.x() << ", " << corner.y() << ")";
        }
        EXPECT_EQ(qAlpha(image.pixel(image.rect().center())), 255);
    }
}

} // namespace
