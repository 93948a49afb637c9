#pragma once
// A service with a built-in default that tests replace with stand-ins of their own.

template <typename T>
class Replaceable {
 public:
  explicit Replaceable(T& fallback) : fallback_(fallback), current_(&fallback) {}

  // Installs next (nullptr: the default) and returns the one it replaces.
  T* Replace(T* next) {
    T* previous = current_;
    current_ = next ? next : &fallback_;
    return previous;
  }
  T& operator*() const { return *current_; }
  T* operator->() const { return current_; }

 private:
  T& fallback_;
  T* current_;
};
