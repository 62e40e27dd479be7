#pragma once
// The program's help file ("bramblex.hlp"), a UTF-8 text file of our own:
//
//   BRXHELP 1                      first line, exactly
//   # a comment                    lines starting with "#" outside topics
//   == 219 Sommaire                a topic: "== ", its context number, a
//   <p>...</p>                     blank, its title; then its body, up to
//   == 220 Présentation            the next topic line
//
// A title is plain text. A body is a small subset of HTML (p, h3, ul, ol, li, b, i, a) as the
// viewer shows it. A link to another topic is <a href="#N">, N its context
// number. A file is damaged when the first line is wrong, a topic line is
// malformed, a context number appears twice, the contents topic is missing
// or a link names a context that no topic has.

#include <QList>
#include <QString>

#include <optional>

namespace brx {

// The contents page; the windows and the About box open it.
inline constexpr int kHelpContents = 219;

struct HelpTopic {
    int context = 0;
    QString title;
    QString body;
};

class HelpFile {
public:
    // Error texts are French, for the user.
    static std::optional<HelpFile> parse(const QByteArray& data, QString* error);
    static std::optional<HelpFile> load(const QString& path, QString* error);

    const QList<HelpTopic>& topics() const { return m_topics; }
    const HelpTopic* topic(int context) const;
    // The context numbers a body links to, in order.
    static QList<int> links(const QString& body);

private:
    QList<HelpTopic> m_topics;
};

} // namespace brx
