// SPDX-FileCopyrightText: The RS232 simulator authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A test fixture with a folder of its own for the files a test writes, removed after the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class ScratchFolderTest : public ::testing::Test
{
protected:
    // A fresh folder under the system's temporary one, named after prefix, this process and the test.
    void makeScratch(const std::string &prefix)
    {
        m_dir = std::filesystem::temp_directory_path() /
                (prefix + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir);
    }
    std::string path(const std::string &name) const { return (m_dir / name).string(); }
    std::string write(const std::string &name, const std::string &text) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << text;
        return path(name);
    }

    std::filesystem::path m_dir;
};
