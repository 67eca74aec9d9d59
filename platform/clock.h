// The local wall clock and the random numbers that the records and the paper draw depend on,
// behind small interfaces so that tests can fix them.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace platform {

// A moment of the local wall clock.
struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

LocalTime systemLocalTime();
// "yyyy-mm-dd hh:mm:ss"
std::string timeText(const LocalTime& t);
// "yyyy年mm月dd日"
std::string dateText(const LocalTime& t);

// Uniform numbers in [0, 1).
class RandomNumbers {
public:
    virtual ~RandomNumbers() = default;
    // Seeds afresh from the clock, as every draw begins.
    virtual void reseed() = 0;
    virtual double next() = 0;
};

class SystemRandomNumbers : public RandomNumbers {
public:
    void reseed() override;
    double next() override;

private:
    std::mt19937_64 engine_{std::random_device{}()};
};

}  // namespace platform
