// An environment variable set (or with nullopt unset) for the life of the object, then as before.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class Env {
  public:
    Env(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* was = std::getenv(name)) old_ = was;
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~Env() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    Env(const Env&) = delete;
    Env& operator=(const Env&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};
