#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

class LCProjectDocument;

// Keeps a recovery file of the current project while it has unsaved changes. A few seconds after
// the last change, and at the latest kMaxDelayMs after the first one not yet written, the project
// is turned into bytes here and written atomically on a thread of its own, so the window never
// waits for the disk. A save, undoing back to the saved state, or the end of the program removes
// the file; only a program that did not end cleanly leaves it behind.
class LCRecoveryRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDelayMs = 3000;
    static constexpr int kMaxDelayMs = 30000;

    // Writes to file (nothing when it is empty); the file is the document's from now on.
    LCRecoveryRecorder(LCProjectDocument &document, const QString &file, QObject *parent);
    ~LCRecoveryRecorder() override;

    QString file() const { return m_file; }

signals:
    // The file was written or removed, on the writing thread's word.
    void fileChanged();

private:
    void documentChanged();
    void writeNow();

    LCProjectDocument &m_document;
    const QString m_file;
    QTimer m_timer;
    QElapsedTimer m_firstUnwritten;
    QThread m_thread;
    QObject m_writer;
};
