#pragma once
// Every test keeps its cache (the simulated logger's saved state above all) in a folder of
// its own, made for it and removed after it: no test reads or writes the user's cache, and
// no test finds what another one left there. The programs a test starts inherit it.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qz::test {

class OwnCachePerTest final : public ::testing::EmptyTestEventListener {
public:
    OwnCachePerTest() { use(); }
    void OnTestStart(const ::testing::TestInfo&) override { use(); }

private:
    void use()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", dir_->path().toLocal8Bit());
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

// Before the application object: nothing may find the user's cache first.
inline void useOwnCachePerTest()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new OwnCachePerTest);
}

} // namespace qz::test
