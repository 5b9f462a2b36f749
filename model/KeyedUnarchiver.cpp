// Reading a scene's keyed archive as a whole: the archive's frame, its root list and the pairs
// in it. Decoding each archived object is in KeyedUnarchiverObjects.cpp.
#include "KeyedUnarchiver.h"

#include <algorithm>
#include <new>
#include <stdexcept>

using plist::Object;
using plist::Ref;
using plist::Type;

KeyedUnarchiver::KeyedUnarchiver(plist::ObjectSource& source, BackgroundTask& task,
                                 std::size_t dataSize)
    : source_(source)
    , task_(task)
    , dataSize_(dataSize) {}

std::uint32_t* KeyedUnarchiver::slotOf(std::uint64_t uid, bool make) {
    if (!slotOfUid_.empty())
        return uid < slotOfUid_.size() ? &slotOfUid_[uid] : nullptr;
    if (make)
        return &sparseSlots_[uid];
    const auto found = sparseSlots_.find(uid);
    return found == sparseSlots_.end() ? nullptr : &found->second;
}

void KeyedUnarchiver::scanStored(const Object& dictionary, Ref ref, Entries* entries) {
    // Looking through a small dictionary again costs no more than remembering it.
    constexpr std::size_t small = 32;
    if (dictionary.count <= small) {
        scan(dictionary, entries);
        return;
    }
    if (const auto known = scanned_.find(ref); known != scanned_.end()) {
        ++steps_;
        entries->object = dictionary;
        entries->refs = known->second.refs;
        entries->present = known->second.present;
        return;
    }
    scan(dictionary, entries);
    scanned_.emplace(ref, Known{entries->refs, entries->present});
}

Result<PointPairArray> KeyedUnarchiver::unarchiveObjectWithData(const QByteArray& data,
                                                                BackgroundTask* task) {
    BackgroundTask unwatched;
    // Whatever a file holds, running out of memory refuses it: it never ends the program.
    try {
        return unarchive(data, task ? *task : unwatched);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Failure::because(Rules::outOfMemory());
}

Result<PointPairArray> KeyedUnarchiver::unarchive(const QByteArray& data, BackgroundTask& task) {
    // Parsing XML builds its objects first; binary data is read in place as it is decoded.
    const bool xml = !data.startsWith("bplist");
    plist::ReadProblem problem;
    std::unique_ptr<plist::ObjectSource> source;
    {
        const BackgroundTask::Part parsing(task, 0.0, xml ? 0.7 : 0.0);
        source = plist::open(data, &problem, &task);
    }
    if (!source) {
        switch (problem.kind) {
        case plist::ReadProblem::Kind::Cancelled:
            return Failure::cancel();
        case plist::ReadProblem::Kind::Refused:
            return Failure::because(problem.detail);
        case plist::ReadProblem::Kind::Empty:
            return Failure::because(Rules::empty());
        case plist::ReadProblem::Kind::Foreign:
            return Failure::because(Rules::notAScene(problem.detail));
        case plist::ReadProblem::Kind::Damaged:
            break;
        }
        return Failure::because(Rules::unreadable(problem.detail));
    }
    source->setKnownKeys(Rules::keyTable());
    const BackgroundTask::Part decoding(task, xml ? 0.7 : 0.0, 1.0);
    KeyedUnarchiver unarchiver(*source, task, static_cast<std::size_t>(data.size()));
    PointPairs pairs;
    const bool read = unarchiver.run(&pairs);
    task.countSteps(unarchiver.steps_);
    if (unarchiver.cancelled_)
        return Failure::cancel();
    if (!read)
        return Failure::because(unarchiver.error_);
    return PointPairArray(std::make_shared<const PointPairs>(std::move(pairs)));
}

bool KeyedUnarchiver::fail(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
    return false;
}

bool KeyedUnarchiver::sourceFailed() {
    return fail(Rules::unreadable(source_.error()));
}

bool KeyedUnarchiver::damaged(const Where& where, Problem problem, const QString& detail) {
    return fail(Rules::damaged(where, problem, detail));
}

void KeyedUnarchiver::scan(const Object& dictionary, Entries* entries) {
    entries->object = dictionary;
    entries->present = 0;
    steps_ += dictionary.count;
    for (std::size_t i = 0; i < dictionary.count; ++i) {
        const std::size_t key = source_.knownKey(dictionary, i);
        if (key < KeyCount && !entries->has(static_cast<Key>(key))) {
            entries->refs[key] = source_.item(dictionary, i);
            entries->present |= 1u << key;
        }
    }
}

bool KeyedUnarchiver::valueOf(const Entries& entries, Key key, Type type, Object* value) {
    if (!entries.has(key))
        return false;
    if (!source_.get(entries.refs[key], value))
        return sourceFailed();
    return value->type == type;
}

bool KeyedUnarchiver::find(const Entries& entries, const QString& key, Ref* ref) {
    // Keys usually are the model's own constants, found by the address of their characters.
    const std::span<const QString> table = Rules::keyTable();
    std::size_t known = KeyCount;
    for (std::size_t i = 0; i < KeyCount && known == KeyCount; ++i) {
        if (table[i].constData() == key.constData())
            known = i;
    }
    for (std::size_t i = 0; i < KeyCount && known == KeyCount; ++i) {
        if (table[i] == key)
            known = i;
    }
    if (known < KeyCount) {
        if (!entries.has(static_cast<Key>(known)))
            return false;
        *ref = entries.refs[known];
        return true;
    }
    for (std::size_t i = 0; i < entries.object.count; ++i) {
        if (source_.key(entries.object, i) == key) {
            *ref = source_.item(entries.object, i);
            return true;
        }
    }
    return false;
}

bool KeyedUnarchiver::run(PointPairs* pairs) {
    Object top;
    if (!source_.get(source_.root(), &top))
        return sourceFailed();
    Entries archive;
    if (top.type == Type::Dictionary)
        scan(top, &archive);
    Object value;
    if (!valueOf(archive, Rules::ArchiverKey, Type::String, &value) ||
        !(value.string == Rules::archiverName())) {
        if (failed())
            return false;
        return fail(Rules::notAKeyedArchive());
    }
    if (!valueOf(archive, Rules::VersionKey, Type::Integer, &value) || value.integerUnsigned ||
        value.integer != Rules::archiveVersion) {
        if (failed())
            return false;
        return fail(Rules::otherVersion());
    }
    if (!valueOf(archive, Rules::ObjectsKey, Type::Array, &objects_)) {
        if (failed())
            return false;
        return fail(Rules::noObjects());
    }
    if (objects_.count <= dataSize_ / sizeof(std::uint32_t))
        slotOfUid_.assign(objects_.count, 0);
    Object topObjects;
    Entries topEntries;
    if (valueOf(archive, Rules::TopKey, Type::Dictionary, &topObjects))
        scan(topObjects, &topEntries);
    if (failed())
        return false;
    std::uint64_t rootUid = 0;
    if (topEntries.has(Rules::RootKey)) {
        Object root;
        if (!source_.get(topEntries.refs[Rules::RootKey], &root))
            return sourceFailed();
        if (!asUid(root, &rootUid) && failed())
            return false;
    }
    if (rootUid == 0)
        return fail(Rules::noScene());

    const Where scene;
    Object array;
    if (!archived(rootUid, &array)) {
        if (failed())
            return false;
        return damaged(scene, Problem::Missing, Rules::notInArchive(rootUid));
    }
    if (array.type == Type::String && array.string == Rules::nullMarker())
        return fail(Rules::noScene());
    if (array.type != Type::Dictionary)
        return fail(Rules::notAList(array.type));
    Entries list;
    scan(array, &list);
    QString className;
    const Class type = classOf(list, scene, &className);
    if (type == Class::None)
        return false;
    if (type != Class::Array && type != Class::MutableArray)
        return fail(Rules::notAList(className));
    Object elements;
    if (!valueOf(list, Rules::ElementsKey, Type::Array, &elements)) {
        if (failed())
            return false;
        return fail(Rules::noList());
    }

    if (elements.count > maximumScenePairs)
        return fail(Rules::tooManyPairs());
    pairs->reserve(elements.count);
    // A scene decodes a pair and its two points per element, fewer where they are shared: room
    // for them at once spares the copies that growing would make, at the peak of the read. Only
    // what the file could hold, so that a file that merely claims many costs nothing.
    const std::size_t expected = std::min<std::size_t>(3 * elements.count, objects_.count);
    if (expected * sizeof(Decoded) <= dataSize_)
        decoded_.reserve(expected);
    for (std::size_t i = 0; i < elements.count; ++i) {
        if (i % checkInterval == 0) {
            if (task_.isCancelled()) {
                cancelled_ = true;
                return false;
            }
            task_.setProgress(double(i) / double(elements.count));
            task_.setAmount(BackgroundTask::Unit::Pairs, std::int64_t(i),
                            std::int64_t(elements.count));
        }
        ++steps_;
        const Where where{Where::Kind::Pair, i + 1};
        Object element;
        if (!source_.get(source_.item(elements, i), &element))
            return sourceFailed();
        std::uint64_t uid = 0;
        if (!asUid(element, &uid)) {
            if (failed())
                return false;
            return damaged(where, Problem::Missing, Rules::storedInsteadOfReference(element.type));
        }
        if (uid == 0)
            return damaged(where, Problem::Missing);
        auto pair = std::static_pointer_cast<GLPointPair>(
            decodeObject(uid, Class::Pair, where, decodeNewPair));
        if (failed())
            return false;
        if (!pair)
            return damaged(where, Problem::Missing);
        if (!pair->point1())
            return damaged(where, Problem::NoFirstPoint);
        if (!pair->point2())
            return damaged(where, Problem::NoSecondPoint);
        pairs->push_back(std::move(pair));
    }
    return true;
}
