#include "app/lcrecoveryrecorder.h"

#include "app/lcprojectdocument.h"
#include "definitions/lcdatastore.h"
#include "definitions/lcfilewriter.h"
#include "definitions/lcprojectwriter.h"
#include "definitions/lcrecoveryfile.h"

#include <QDateTime>
#include <QFile>
#include <QUndoStack>

LCRecoveryRecorder::LCRecoveryRecorder(
    LCProjectDocument &document, const QString &file, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_file(file)
{
    if (m_file.isEmpty()) {
        return;
    }
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LCRecoveryRecorder::writeNow);
    connect(&m_document, &LCProjectDocument::modifiedChanged, this,
        &LCRecoveryRecorder::documentChanged);
    connect(&m_document.undoStack(), &QUndoStack::indexChanged, this,
        &LCRecoveryRecorder::documentChanged);
    m_writer.moveToThread(&m_thread);
    m_thread.start();
    // a project restored at start is unsaved from the first moment
    documentChanged();
}

LCRecoveryRecorder::~LCRecoveryRecorder()
{
    if (m_file.isEmpty()) {
        return;
    }
    // a write under way ends first; the ones still waiting are dropped with the thread
    m_thread.quit();
    m_thread.wait();
    QFile::remove(m_file);
}

void LCRecoveryRecorder::documentChanged()
{
    if (!m_document.isModified()) {
        m_timer.stop();
        m_firstUnwritten.invalidate();
        QMetaObject::invokeMethod(
            &m_writer,
            [this] {
                QFile::remove(m_file);
                emit fileChanged();
            },
            Qt::QueuedConnection);
        return;
    }
    if (!m_firstUnwritten.isValid()) {
        m_firstUnwritten.start();
    }
    // one who edits without a pause still gets a recovery file now and then
    const qint64 left = kMaxDelayMs - m_firstUnwritten.elapsed();
    if (!m_timer.isActive() || left > kDelayMs) {
        m_timer.start(static_cast<int>(qBound<qint64>(0, left, kDelayMs)));
    }
}

void LCRecoveryRecorder::writeNow()
{
    const LCDataStore *const store = LCDataStore::instance();
    const LCProject *const project = store->project();
    if (!project || !m_document.isModified()) {
        return;
    }
    m_firstUnwritten.invalidate();
    LCRecoveryFile::Contents contents;
    contents.projectFile = store->projectFilePath();
    contents.projectName = project->property(PropertyId::Name).toString();
    contents.written = QDateTime::currentDateTime();
    // the tree is the window's, so it is turned into bytes here, which is quick
    contents.project = LCProjectWriter::write(
        *project, {store->deviceTypes(), store->wireTypes(), store->cardTypes()});
    QMetaObject::invokeMethod(
        &m_writer,
        [this, contents] {
            QString error;
            if (!LCFileWriter::writeAtomically(m_file, LCRecoveryFile::compose(contents), &error)) {
                qWarning("Mirel: the recovery file %s could not be written: %s", qPrintable(m_file),
                    qPrintable(error));
            }
            emit fileChanged();
        },
        Qt::QueuedConnection);
}
