#include "TessarinModel/LogTimestamp.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace tessarin {
namespace {

using namespace std::chrono_literals;

// Sets TZ for one test and puts the previous zone back afterwards.
class ZoneForTest {
public:
    explicit ZoneForTest(const char* zone) {
        if (const char* old = std::getenv("TZ")) m_old = old;
        set(zone);
    }
    ZoneForTest(const ZoneForTest&) = delete;
    ZoneForTest& operator=(const ZoneForTest&) = delete;
    ~ZoneForTest() {
        if (m_old) {
            set(m_old->c_str());
        } else {
            ::unsetenv("TZ");
            ::tzset();
        }
    }

    static void set(const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST(LogTimestamp, IsLocalTimeToTheMillisecondAndFollowsAZoneChangeWithinAMinute) {
    const ZoneForTest zone("XST-5:30");  // five and a half hours east of UTC
    LogTimestamp stamps;
    const std::chrono::system_clock::time_point epoch;
    EXPECT_EQ(stamps.text(epoch + 250ms).toStdString(), "05:30:00.250  ");
    EXPECT_EQ(stamps.text(epoch + 59s + 999ms).toStdString(), "05:30:59.999  ");

    ZoneForTest::set("YST+2");  // two hours west
    EXPECT_EQ(stamps.text(epoch + 24h + 61s).toStdString(), "22:01:01.000  ");
}

}  // namespace
}  // namespace tessarin
