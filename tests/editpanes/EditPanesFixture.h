// An editor context over its own cache, copies and catalogues for the edit
// step's windows, with a message recorder whose answer to questions a test
// chooses, and photos added to the album as real files.
#pragma once

#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/UserMessages.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace EditPanesTest {

class AnsweringMessages : public UserMessages {
public:
    QStringList texts;
    QList<Kind> kinds;
    bool answer = false;
    bool Present(Kind kind, const QString& text) override
    {
        texts << text;
        kinds << kind;
        return answer;
    }
};

class ContextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString app = TestSupport::MakeFolder("app");
        TestSupport::WriteAll(EffectCatalogue::FilePath(app),
                              "<E><Effect id=\"fade\" png=\"p.png\"/><Effect id=\"wipe\" png=\"p.png\"/>"
                              "<Effect id=\"zoom\" png=\"p.png\"/></E>");
        ASSERT_EQ(effects.Load(app), 3);
        context = std::make_unique<EditorContext>(
            EditorContext::Services{cache, effects, templates, display, copies, *CSubjectManager::Manager()},
            settings, messages);
    }
    void TearDown() override
    {
        context.reset();
        copies.DiscardAll();
    }
    AlbumModel& album() const { return context->Album(); }
    // Adds `count` photos (real JPEG files); the first becomes current.
    void AddPhotos(int count)
    {
        const QString folder = TestSupport::MakeFolder("photos");
        for (int i = 0; i < count; ++i) {
            const QString path = TestSupport::WritePhoto(folder + QStringLiteral("/p%1.jpg").arg(i), 320, 240,
                                                         QColor(40 * i, 100, 160));
            ASSERT_GE(album().AddPhoto(path), 0);
        }
        album().SetCurrentIndex(0);
    }

    ThumbnailCache cache;
    EffectCatalogue effects;
    TemplateCatalogue templates;
    DisplayCopies display;
    WorkingCopyMap copies;
    EditorSettings settings;
    AnsweringMessages messages;
    std::unique_ptr<EditorContext> context;
};

} // namespace EditPanesTest
