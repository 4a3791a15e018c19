// The project reader: the bytes of a project file, loaded as Open loads them, over a project
// with unsaved changes.
#include "fuzz/fuzzsupport.h"

#include "definitions/lcdatastore.h"
#include "definitions/lcxmlreader.h"

#include <memory>

namespace
{
// Panels hold loops, loops devices, each in ascending number order and pointing at its holder.
void checkTree(const LCObject &parent, ObjectKind childKind, PropertyId orderKey)
{
    int previous = 0;
    for (int i = 0; i < parent.childCount(); ++i) {
        const LCObject *const child = parent.child(i);
        if (child->kind() != childKind || child->parent() != &parent) {
            FuzzSupport::fail("an object of the wrong kind or holder in the tree");
        }
        const int number = child->property(orderKey).toInt();
        if (childKind != ObjectKind::Device && i > 0 && number < previous) {
            FuzzSupport::fail("children out of order");
        }
        previous = number;
        if (childKind == ObjectKind::Controller) {
            checkTree(*child, ObjectKind::Loop, PropertyId::Loopid);
        } else if (childKind == ObjectKind::Loop) {
            checkTree(*child, ObjectKind::Device, PropertyId::pos);
        }
    }
}

// The reader's promise: nothing past its bounds reaches the parser's caller.
void checkBounds(const QByteArray &bytes)
{
    LCXmlReader reader(bytes);
    while (reader.next()) {
        if (reader.stream().isStartElement()
            && (reader.stream().attributes().size() > LCXmlReader::kMaxAttributes
                || reader.depth() > LCXmlReader::kMaxDepth)) {
            FuzzSupport::fail("an element beyond the bounds was read");
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LCDataStore *const store = FuzzSupport::store();
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const QString path = FuzzSupport::write(QStringLiteral("project.xml"), bytes);

    store->setProject(std::make_unique<LCProject>());
    const LCProject *const edited = store->project();
    const LCLoadResult result = store->loadProject(path);
    if (result.projectRead) {
        if (!result.errorText.isEmpty() || store->anyChanged() || store->project() == edited) {
            FuzzSupport::fail("a project read but not taken over cleanly", result.errorText);
        }
        checkTree(*store->project(), ObjectKind::Controller, PropertyId::Panelid);
    } else if (result.errorText.isEmpty() || store->project() != edited
        || !store->projectChanged()) {
        FuzzSupport::fail("a refused file touched the project or gave no reason");
    }
    checkBounds(bytes);
    return 0;
}
