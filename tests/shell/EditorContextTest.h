// Base of the shell's window tests: an editor context over the test's own
// thumbnail cache and a small effect catalogue, with the hub's two subjects
// registered. A fixture calls MakeContext in its SetUp and, in its TearDown,
// destroys its windows before calling EditorContextTest::TearDown.
#pragma once

#include "editor/catalogues/Catalogues.h"
#include "editor/core/AlbumModel.h"
#include "editor/core/EditorContext.h"
#include "editor/core/EditorSettings.h"
#include "editor/core/SubjectManager.h"
#include "editor/core/WorkingCopyMap.h"
#include "editor/imaging/DisplayCopies.h"
#include "editor/imaging/ThumbnailCache.h"
#include "tests/ProjectHistoryCleanup.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

class EditorContextTest : public ::testing::Test {
protected:
    // The catalogue holds `effects` effects, named e0, e1, ...
    void MakeContext(UserMessages& messages, int effectCount = 1)
    {
        const QString app = TestSupport::MakeFolder("context-app");
        QByteArray catalogue = "<E>";
        for (int i = 0; i < effectCount; ++i)
            catalogue += "<Effect id=\"e" + QByteArray::number(i) + "\" png=\"p.png\"/>";
        TestSupport::WriteAll(EffectCatalogue::FilePath(app), catalogue + "</E>");
        ASSERT_EQ(effects.Load(app), effectCount);
        hub.Register(kSubjectPrjState, new CSubject);
        hub.Register(kSubjectButtonState, new CSubject);
        context = std::make_unique<EditorContext>(
            EditorContext::Services{thumbnails, effects, templates, DisplayCopies::Instance(), WorkingCopyMap::Instance(), hub},
            settings, messages);
    }
    void TearDown() override
    {
        context.reset();
        hub.Unregister(kSubjectPrjState);
        hub.Unregister(kSubjectButtonState);
        WorkingCopyMap::Instance().DiscardAll();
        TestSupport::ForgetProjectHistory();
    }

    ThumbnailCache thumbnails;
    EffectCatalogue effects;
    TemplateCatalogue templates;
    CSubjectManager& hub = *CSubjectManager::Manager();
    EditorSettings settings;
    std::unique_ptr<EditorContext> context;
};
