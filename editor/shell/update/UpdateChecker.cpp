#include "editor/shell/update/UpdateChecker.h"

#include "editor/core/EditorSettings.h"
#include "editor/core/StringTable.h"
#include "editor/shell/UpdateReply.h"
#include "editor/shell/update/ProductInfo.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

bool HttpFailed(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400;
}

} // namespace

CUpdateChecker::CUpdateChecker(QObject* parent)
    : QObject(parent), m_productName(Strings::Load(Strings::ProductTitle))
{
}

void CUpdateChecker::Start()
{
    if (m_running)
        return;
    m_running = true;
    CProductInfo product;
    if (!product.ReadProductInfo(m_productName)) {
        QTimer::singleShot(0, this, [this] { Conclude(std::nullopt); });
        return;
    }
    m_installedVersion = product.Version();
    m_installedBuild = product.Build();
    m_answer.clear();
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(QUrl(EditorSettings::SiteAddress() + QStringLiteral("checkforupdate.php?product=60")));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Kelvana"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(m_timeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &CUpdateChecker::OnReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &CUpdateChecker::OnFinished);
}

void CUpdateChecker::OnReadyRead()
{
    if (HttpFailed(m_reply))
        return;
    m_answer += m_reply->read(kMaxLine - m_answer.size());
    // Only the first line counts: once it is complete the rest is not needed.
    if (m_answer.contains('\n'))
        Conclude(m_answer);
    else if (m_answer.size() >= kMaxLine)
        Conclude(std::nullopt);
}

void CUpdateChecker::OnFinished()
{
    if (m_reply->error() != QNetworkReply::NoError || HttpFailed(m_reply)) {
        Conclude(std::nullopt);
        return;
    }
    m_answer += m_reply->read(kMaxLine - m_answer.size());
    Conclude(m_answer);
}

void CUpdateChecker::Conclude(const std::optional<QByteArray>& answer)
{
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    std::optional<QString> prompt;
    if (answer)
        if (const std::optional<UpdateReply> reply = UpdateReply::Parse(*answer))
            prompt = UpdatePrompt(m_installedVersion, m_installedBuild, *reply);
    m_running = false;
    if (prompt)
        emit PromptWanted(*prompt);
    emit Finished(prompt.has_value());
}
