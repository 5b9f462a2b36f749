#pragma once

#include "plist/PlistValue.h"

#include <QCoreApplication>
#include <QLatin1String>
#include <QString>

#include <cstdint>
#include <span>

// What a scene's keyed archive holds, and how what is wrong with one is told: the keys that
// reading looks up, the classes a scene is made of, and every phrase that reading reports.
// Phrases say what is wrong in plain words first and give the detail in the archive's own terms
// in brackets after it, for whoever repairs the file, e.g. "the file is damaged: pair 3's first
// point has no valid x coordinate (glpwcXKey is not finite)" (pairs are counted from 1).
class SceneArchiveRules {
    Q_DECLARE_TR_FUNCTIONS(SceneArchiveRules)

  public:
    // The keys that reading looks up, in the order of keyTable(). The model's own keys come
    // first: they are looked up most.
    enum Key : std::uint8_t {
        XKey,
        YKey,
        ZKey,
        RedKey,
        GreenKey,
        BlueKey,
        AlphaKey,
        Point1Key,
        Point2Key,
        ArchiverKey,
        VersionKey,
        TopKey,
        ObjectsKey,
        RootKey,
        ClassKey,
        ClassNameKey,
        ElementsKey,
        UidKey,
        KeyCount
    };
    static std::span<const QString> keyTable();

    // The classes a scene is made of; Other is any class else, None no class at all.
    enum class Class : std::uint8_t { None, Array, MutableArray, Pair, Point, Other };
    static QLatin1String nameOf(Class type);
    static Class classNamed(const QString& name);

    static const QString& archiverName(); // the value of "$archiver"
    static constexpr std::int64_t archiveVersion = 100000;
    static const QString& nullMarker(); // "$objects" entry that stands for nil

    // Where an object sits in the scene, for messages; it is worded only when something fails.
    struct Where {
        enum class Kind : std::uint8_t { Scene, Pair, Child } kind = Kind::Scene;
        std::size_t pair = 0;          // Pair: counted from 1
        const QString* key = nullptr;  // Child: the key it is stored under in its parent
        const Where* parent = nullptr; // Child
    };

    // What is wrong with an object, after where it is.
    enum class Problem : std::uint8_t {
        Missing,
        NoFirstPoint,
        NoSecondPoint,
        Unreadable,
        NotAPair,
        NotAPoint,
        NoValidX,
        NoValidY,
        NoValidZ,
        NoValidRed,
        NoValidGreen,
        NoValidBlue,
        NoValidAlpha,
        InvalidValue
    };
    // The problem of a number under `key` that is not one, not finite or too large.
    static Problem badNumber(const QString& key);

    // The whole file.
    static QString outOfMemory();
    static QString empty();
    // Not a scene at all; `what` says what it is instead ("it is not a property list").
    static QString notAScene(const QString& what);
    // A property list too broken to read, with the detail in the format's own terms.
    static QString unreadable(const QString& detail);
    static QString notAKeyedArchive();
    static QString otherVersion();
    static QString noObjects();
    static QString noScene();
    static QString notAList(plist::Type type);
    static QString notAList(const QString& className);
    static QString noList();
    static QString tooManyPairs();

    // One object: "the file is damaged: <where> <problem> (<detail>)".
    static QString damaged(const Where& where, Problem problem, const QString& detail = QString());
    // Details.
    static QString notInArchive(std::uint64_t uid);
    static QString storedInsteadOfReference(plist::Type type);
    static QString noClass();
    static QString damagedClassReference();
    static QString classNotInArchive(std::uint64_t uid);
    static QString damagedClassDescription();
    static QString holdsClass(const QString& name);
    static QString holdsForeignClass(const QString& name);
    static QString holds(plist::Type type);
    static QString refersBack();
    static QString notAReference(plist::Type type, const QString& key);
    static QString notANumber(plist::Type type, const QString& key);
    static QString notFinite(const QString& key);
    static QString beyondFloat(const QString& key);

  private:
    static QString describe(const Where& where);
};
