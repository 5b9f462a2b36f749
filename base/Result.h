#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// Why something could not be done. The reason is a phrase in the user's language, without a
// full stop ("No space left on device", "the file is damaged: pair 3 has no second point"), so
// that whoever shows it can make it a sentence or put it in one of its own. A failure the
// user asked for (a cancelled open or save) is not shown at all.
struct Failure {
    QString reason;
    bool cancelled = false;

    static Failure because(QString reason) { return {std::move(reason), false}; }
    static Failure cancel() { return {QString(), true}; }
};

// What an operation that may fail gives back: a value, or the failure in its place. Test it
// like a pointer; reading the value of a failure, or the failure of a value, is a bug.
template <class T> class [[nodiscard]] Result {
  public:
    Result(T value)
        : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure)
        : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Failure& failure() const { return std::get<1>(state_); }
    const QString& reason() const { return failure().reason; }
    bool cancelled() const { return !ok() && failure().cancelled; }

  private:
    std::variant<T, Failure> state_;
};

// The same for operations that give back nothing but their success.
template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure)
        : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const { return *failure_; }
    const QString& reason() const { return failure().reason; }
    bool cancelled() const { return !ok() && failure_->cancelled; }

  private:
    std::optional<Failure> failure_;
};
