// The document viewer: shows a help document, an output file or a fixed text read-only.
// Closing it only hides it.
#pragma once

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace kol {

class TFm_Browse : public QWidget {
    Q_OBJECT
public:
    explicit TFm_Browse(QWidget* parent = nullptr);
    void setTitleBase(const QString& base) { titleBase_ = base; }
    // Shows a CP932 text file; a missing or unreadable file is said so in the pane.
    void showDocumentFile(const std::string& path, const std::string& extraTitle);
    void showDocumentText(const std::string& text);
    QString shownText() const;

private:
    QPlainTextEdit* pane_;
    QString titleBase_ = "Browse";
};

} // namespace kol
