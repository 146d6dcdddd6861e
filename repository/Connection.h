// SPDX-License-Identifier: GPL-3.0-or-later
// One counted connection of a repository, held for a scope: the lease ends the connection
// when the scope ends, also when an exception leaves it, so that no error path keeps a
// repository open (and, on SQLite, its write lock).
#pragma once

#include "repository/Dataaccessinterface.h"

#include <utility>

class TVXConnection
{
public:
    TVXConnection() = default;
    // Adopts the connection that Connect (or ConnectDB) just counted.
    explicit TVXConnection(TVXDataAccessInterface *db)
        : m_db(db)
    {}
    TVXConnection(TVXConnection &&other) noexcept
        : m_db(std::exchange(other.m_db, nullptr))
    {}
    TVXConnection &operator=(TVXConnection &&other) noexcept
    {
        if (this != &other) {
            End();
            m_db = std::exchange(other.m_db, nullptr);
        }
        return *this;
    }
    TVXConnection(const TVXConnection &) = delete;
    TVXConnection &operator=(const TVXConnection &) = delete;
    ~TVXConnection() { End(); }

    TVXDataAccessInterface *get() const { return m_db; }
    TVXDataAccessInterface *operator->() const { return m_db; }
    explicit operator bool() const { return m_db != nullptr; }

    // Ends the connection now; its failure is reported, unlike at the end of the scope,
    // where the error that is already on its way matters more.
    void Release()
    {
        TVXDataAccessInterface *db = std::exchange(m_db, nullptr);
        if (db && db->ConnectionCount() > 0)
            db->DisConnect();
    }

private:
    void End() noexcept
    {
        try {
            Release();
        } catch (...) {
            // A connection that cannot even be closed has nothing left to lose.
        }
    }

    TVXDataAccessInterface *m_db = nullptr;
};
