#include "SceneArchiveRules.h"

#include "GLPointPair.h"
#include "GLPointWithColor.h"
#include "KeyedUnarchiver.h"

#include <array>
#include <utility>

namespace {

// The classes a scene may contain, by name, in the order of SceneArchiveRules::Class.
constexpr std::array<const char*, 4> sceneClassNames = {"NSArray", "NSMutableArray", "GLPointPair",
                                                        "GLPointWithColor"};
constexpr auto firstSceneClass = SceneArchiveRules::Class::Array;

// Names from a file can be of any length; messages show the start of them.
constexpr qsizetype shownNameLength = 80;

} // namespace

std::span<const QString> SceneArchiveRules::keyTable() {
    static const QString keys[KeyCount] = {
        glpwcXKey,
        glpwcYKey,
        glpwcZKey,
        glpwcRedKey,
        glpwcGreenKey,
        glpwcBlueKey,
        glpwcAlphaKey,
        glppPoint1Key,
        glppPoint2Key,
        QStringLiteral("$archiver"),
        QStringLiteral("$version"),
        QStringLiteral("$top"),
        QStringLiteral("$objects"),
        QStringLiteral("root"),
        QStringLiteral("$class"),
        QStringLiteral("$classname"),
        QStringLiteral("NS.objects"),
        QStringLiteral("CF$UID"),
    };
    return keys;
}

QLatin1String SceneArchiveRules::nameOf(Class type) {
    const auto index = std::size_t(type) - std::size_t(firstSceneClass);
    return index < sceneClassNames.size() ? QLatin1String(sceneClassNames[index]) : QLatin1String();
}

SceneArchiveRules::Class SceneArchiveRules::classNamed(const QString& name) {
    for (std::size_t i = 0; i < sceneClassNames.size(); ++i) {
        if (name == QLatin1String(sceneClassNames[i]))
            return static_cast<Class>(std::size_t(firstSceneClass) + i);
    }
    return Class::Other;
}

const QString& SceneArchiveRules::archiverName() {
    static const QString name = QStringLiteral("NSKeyedArchiver");
    return name;
}

const QString& SceneArchiveRules::nullMarker() {
    static const QString marker = QStringLiteral("$null");
    return marker;
}

SceneArchiveRules::Problem SceneArchiveRules::badNumber(const QString& key) {
    const std::array<std::pair<const QString*, Problem>, 7> coordinates = {{
        {&glpwcXKey, Problem::NoValidX},
        {&glpwcYKey, Problem::NoValidY},
        {&glpwcZKey, Problem::NoValidZ},
        {&glpwcRedKey, Problem::NoValidRed},
        {&glpwcGreenKey, Problem::NoValidGreen},
        {&glpwcBlueKey, Problem::NoValidBlue},
        {&glpwcAlphaKey, Problem::NoValidAlpha},
    }};
    for (const auto& [name, problem] : coordinates)
        if (key == *name)
            return problem;
    return Problem::InvalidValue;
}

QString SceneArchiveRules::outOfMemory() {
    return tr("there is not enough memory to open the file");
}

QString SceneArchiveRules::empty() {
    return tr("the file is empty");
}

QString SceneArchiveRules::notAScene(const QString& what) {
    return tr("the file is not a scene: %1").arg(what);
}

QString SceneArchiveRules::unreadable(const QString& detail) {
    return tr("the file is damaged and cannot be read (%1)").arg(detail);
}

QString SceneArchiveRules::notAKeyedArchive() {
    return notAScene(tr("it is a property list, but not a keyed archive"));
}

QString SceneArchiveRules::otherVersion() {
    return notAScene(tr("it is a keyed archive of a version other than %1").arg(archiveVersion));
}

QString SceneArchiveRules::noObjects() {
    return tr("the file is damaged: its archived objects are missing (it has no “$objects” "
              "array)");
}

QString SceneArchiveRules::noScene() {
    return tr("the file is damaged: it holds no scene (the archive has no root object)");
}

QString SceneArchiveRules::notAList(plist::Type type) {
    return notAScene(tr("it holds %1, not a list of point pairs").arg(plist::describe(type)));
}

QString SceneArchiveRules::notAList(const QString& className) {
    return notAScene(tr("it holds an object of class “%1”, not a list of point pairs")
                         .arg(className.left(shownNameLength)));
}

QString SceneArchiveRules::noList() {
    return tr("the file is damaged: its list of point pairs is missing (the array has no "
              "“NS.objects”)");
}

QString SceneArchiveRules::tooManyPairs() {
    return tr("the file holds more than %L1 pairs, the most Orbalin opens").arg(maximumScenePairs);
}

QString SceneArchiveRules::describe(const Where& where) {
    switch (where.kind) {
    case Where::Kind::Scene:
        return tr("the scene");
    case Where::Kind::Pair:
        return tr("pair %1").arg(where.pair);
    case Where::Kind::Child:
        break;
    }
    if (*where.key == glppPoint1Key)
        return tr("%1's first point").arg(describe(*where.parent));
    if (*where.key == glppPoint2Key)
        return tr("%1's second point").arg(describe(*where.parent));
    return tr("the object under “%1” in %2").arg(*where.key, describe(*where.parent));
}

QString SceneArchiveRules::damaged(const Where& where, Problem problem, const QString& detail) {
    QString what;
    switch (problem) {
    case Problem::Missing:
        what = tr("%1 is missing");
        break;
    case Problem::NoFirstPoint:
        what = tr("%1 has no first point");
        break;
    case Problem::NoSecondPoint:
        what = tr("%1 has no second point");
        break;
    case Problem::Unreadable:
        what = tr("%1 cannot be read");
        break;
    case Problem::NotAPair:
        what = tr("%1 is not a point pair");
        break;
    case Problem::NotAPoint:
        what = tr("%1 is not a point");
        break;
    case Problem::NoValidX:
        what = tr("%1 has no valid x coordinate");
        break;
    case Problem::NoValidY:
        what = tr("%1 has no valid y coordinate");
        break;
    case Problem::NoValidZ:
        what = tr("%1 has no valid z coordinate");
        break;
    case Problem::NoValidRed:
        what = tr("%1 has no valid red component");
        break;
    case Problem::NoValidGreen:
        what = tr("%1 has no valid green component");
        break;
    case Problem::NoValidBlue:
        what = tr("%1 has no valid blue component");
        break;
    case Problem::NoValidAlpha:
        what = tr("%1 has no valid opacity");
        break;
    case Problem::InvalidValue:
        what = tr("%1 has an invalid value");
        break;
    }
    what = what.arg(describe(where));
    if (detail.isEmpty())
        return tr("the file is damaged: %1").arg(what);
    return tr("the file is damaged: %1 (%2)").arg(what, detail);
}

QString SceneArchiveRules::notInArchive(std::uint64_t uid) {
    return tr("object %1 is not in the archive").arg(uid);
}

QString SceneArchiveRules::storedInsteadOfReference(plist::Type type) {
    return tr("it is stored as %1 instead of a reference").arg(plist::describe(type));
}

QString SceneArchiveRules::noClass() {
    return tr("it has no class");
}

QString SceneArchiveRules::damagedClassReference() {
    return tr("its class reference is damaged");
}

QString SceneArchiveRules::classNotInArchive(std::uint64_t uid) {
    return tr("its class is object %1, which is not in the archive").arg(uid);
}

QString SceneArchiveRules::damagedClassDescription() {
    return tr("its class description is damaged");
}

QString SceneArchiveRules::holdsClass(const QString& name) {
    return tr("the archive holds a “%1” there").arg(name);
}

QString SceneArchiveRules::holdsForeignClass(const QString& name) {
    return tr("the archive holds an object of class “%1”, which a scene may not contain")
        .arg(name.left(shownNameLength));
}

QString SceneArchiveRules::holds(plist::Type type) {
    return tr("the archive holds %1 there").arg(plist::describe(type));
}

QString SceneArchiveRules::refersBack() {
    return tr("it refers back to an object that contains it");
}

QString SceneArchiveRules::notAReference(plist::Type type, const QString& key) {
    return tr("%1 holds %2, not an object reference").arg(key, plist::describe(type));
}

QString SceneArchiveRules::notANumber(plist::Type type, const QString& key) {
    return tr("%1 holds %2, not a number").arg(key, plist::describe(type));
}

QString SceneArchiveRules::notFinite(const QString& key) {
    return tr("%1 is not a finite number").arg(key);
}

QString SceneArchiveRules::beyondFloat(const QString& key) {
    return tr("%1 is too large for a point").arg(key);
}
