#include "editor/generation/GenerationWorker.h"

GenerationWorker::GenerationWorker(const AlbumModel& album, GenerationBlock& block, QObject* parent)
    : QObject(parent), m_album(album), m_block(block)
{
}

GenerationWorker::~GenerationWorker() { Wait(); }

QString GenerationWorker::KindOf(const GenerationBlock& block)
{
    if (!block.kind.isEmpty())
        return block.kind;
    return block.executable ? QStringLiteral("exe") : QStringLiteral("folder");
}

bool GenerationWorker::Start()
{
    const GenerationKind* kind = GenerationKinds::Find(KindOf(m_block));
    if (!kind || m_thread)
        return false;
    m_thread.reset(QThread::create([this, run = *kind] { this->run(run); }));
    m_thread->setObjectName(QStringLiteral("generation"));
    m_thread->start();
    return true;
}

void GenerationWorker::Wait()
{
    if (m_thread)
        m_thread->wait();
}

void GenerationWorker::run(GenerationKind kind)
{
    emit Notify(Started);
    GenerationRequest request;
    request.output = m_block.outputPath;
    request.autoStart = m_block.autoStart;
    request.install = m_block.install;
    request.appDir = m_block.appDir;
    request.cancel = &m_block.cancelRequested;
    request.progress = [this](int done, int total) { emit Progress(done, total); };
    request.step = [this](const QString& text) { emit Step(text); };
    m_result = kind(m_album, request);
    emit Notify(Finished);
}
