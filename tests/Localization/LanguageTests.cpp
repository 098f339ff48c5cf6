#include "Localization/Language.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <latch>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessarin {
namespace {

TEST(Language, RawValuesRoundTripAndRejectNearMisses) {
    for (const Language language : allLanguages)
        EXPECT_EQ(languageFromRawValue(rawValue(language)), language);
    for (const std::string_view unknown : {"", "EN", "en-US", "e"}) {
        EXPECT_EQ(languageFromRawValue(unknown), std::nullopt) << unknown;
    }
}

TEST(Language, ChoosesTheFirstPreferredLanguageWeHave) {
    struct Row {
        std::vector<std::string> preferred;
        Language expected;
    };
    const std::vector<Row> rows{
        {{"fr-CA", "en"}, Language::fr},
        {{"pt-BR", "de-AT"}, Language::de},
        {{}, Language::en},
        {{"de_DE.UTF-8"}, Language::de},
        {{"nl_BE@euro"}, Language::nl},
        {{"NL-be"}, Language::nl},
        // Only the whole leading subtag counts: "eng" and "english" are not "en".
        {{"english", "eng", "de"}, Language::de},
        {{"C", "POSIX", "C.UTF-8"}, Language::en},
        {{"", "-US", "es"}, Language::es},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.preferred));
        EXPECT_EQ(chooseLanguage(row.preferred), row.expected);
    }
}

// Sets or clears one environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(Language, EnvironmentListFollowsLanguageThenTheLocaleVariables) {
    struct Row {
        const char* language;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows{
        {"pt_BR:fr::de", nullptr, "C", "nl_NL.UTF-8", {"pt_BR", "fr", "de", "nl_NL.UTF-8"}},
        {nullptr, "POSIX", "es_ES.UTF-8", "C.UTF-8", {"es_ES.UTF-8"}},
        {"", "", nullptr, "fr_FR", {"fr_FR"}},
        {nullptr, nullptr, nullptr, nullptr, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.expected));
        const ScopedEnvironment language("LANGUAGE", row.language);
        const ScopedEnvironment lcAll("LC_ALL", row.lcAll);
        const ScopedEnvironment lcMessages("LC_MESSAGES", row.lcMessages);
        const ScopedEnvironment lang("LANG", row.lang);
        EXPECT_EQ(preferredLanguagesFromEnvironment(), row.expected);
    }
}

// The choice belongs to the process: a fresh one started with other preferred languages
// picks its own, from LANGUAGE before the locale variables.
TEST(LanguageDeathTest, CurrentFollowsTheEnvironmentOfAFreshProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnvironment language("LANGUAGE", "pt_BR:fr_CA.UTF-8:de");
    const ScopedEnvironment lcAll("LC_ALL", "es_ES.UTF-8");
    EXPECT_EXIT(std::exit(currentLanguage() == Language::fr ? 0 : 1), testing::ExitedWithCode(0), "");
}

// The engine's worker may ask for its first text while the main thread does: both must see
// one language, chosen once. Run under the tsan preset this also proves the choice race-free.
TEST(Language, CurrentIsChosenOnceUnderRacingFirstLookups) {
    constexpr int threadCount = 8;
    std::latch go(threadCount);
    std::vector<Language> seen(threadCount);
    std::vector<std::thread> threads;
    threads.reserve(threadCount);
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&, i] {
            go.arrive_and_wait();
            seen[static_cast<std::size_t>(i)] = currentLanguage();
        });
    }
    for (std::thread& thread : threads) thread.join();

    const Language expected = chooseLanguage(preferredLanguagesFromEnvironment());
    for (const Language language : seen) EXPECT_EQ(language, expected);

    // A later change of the preferred languages takes effect at the next start only.
    const ScopedEnvironment other("LANGUAGE", expected == Language::nl ? "de" : "nl");
    EXPECT_NE(chooseLanguage(preferredLanguagesFromEnvironment()), expected);
    EXPECT_EQ(currentLanguage(), expected);
}

}  // namespace
}  // namespace tessarin
