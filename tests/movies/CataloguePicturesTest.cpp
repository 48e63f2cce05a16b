// The shipped catalogues as the editor loads them: enough effects and
// templates, every picture and every template file present.
#include "editor/catalogues/Catalogues.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <gtest/gtest.h>

TEST(ShippedCatalogues, HaveAllEffectsAndTemplatesWithTheirFiles)
{
    EffectCatalogue effects;
    ASSERT_GE(effects.Load(TestSupport::AppDir()), 30);
    EXPECT_EQ(effects.Entry(0).id, "fade"); // stored albums keep their indexes
    EXPECT_EQ(effects.Entry(1).id, "wipeLeft");
    EXPECT_EQ(effects.Entry(2).id, "iris");
    QSet<QString> ids;
    for (int i = 0; i < effects.Count(); ++i) {
        const EffectEntry& e = effects.Entry(i);
        EXPECT_FALSE(ids.contains(e.id)) << "duplicate " << e.id.toStdString();
        ids.insert(e.id);
        EXPECT_FALSE(e.name.isEmpty()) << e.id.toStdString();
        EXPECT_FALSE(e.picture.isNull()) << e.id.toStdString();
        EXPECT_GE(e.picture.width(), 60) << e.id.toStdString();
    }
    const QString effectsFolder = TestSupport::AppDir() + QStringLiteral("/Sources/Effects/");
    for (const char* file : {"1.jpg", "2.jpg", "slidePreview.js"})
        EXPECT_TRUE(QFileInfo(effectsFolder + QLatin1String(file)).isFile()) << file;

    TemplateCatalogue templates;
    ASSERT_GE(templates.Load(TestSupport::AppDir()), 5);
    ASSERT_LE(templates.Count(), 20);
    bool anyThumbnails = false;
    for (int i = 0; i < templates.Count(); ++i) {
        const TemplateEntry& t = templates.Entry(i);
        SCOPED_TRACE(t.name.toStdString());
        EXPECT_TRUE(QFileInfo(t.configurationPath).isFile());
        EXPECT_TRUE(QFileInfo(t.moviePath).isFile());
        EXPECT_TRUE(t.moviePath.endsWith(QStringLiteral(".js")));
        EXPECT_FALSE(QImageReader(templates.Folder() + t.pictureFile).read().isNull());
        EXPECT_GE(t.width, 640);
        EXPECT_LE(t.width, 1280);
        EXPECT_GE(t.height, 480); // 640 x 480 up to 1280 x 720
        EXPECT_LE(t.height, 720);
        // The sample folders the preview generation copies sit beside the movie.
        const QString folder = QFileInfo(t.moviePath).absolutePath() + QLatin1Char('/');
        for (const char* sub : {"photo", "Thumbs", "res"})
            EXPECT_FALSE(QDir(folder + QLatin1String(sub)).isEmpty()) << sub;
        anyThumbnails = anyThumbnails || t.thumbnails;
    }
    EXPECT_TRUE(anyThumbnails);
}
