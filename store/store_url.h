#pragma once
// Where a fleet store is: "sqlite:PATH" (a database file; "~/" is the home folder). Other
// database engines come as further schemes of the same form.
#include <QString>

#include <optional>

namespace qz {

struct StoreUrl {
    enum class Kind {
        Sqlite
    };
    Kind kind = Kind::Sqlite;
    QString path; // Sqlite: the database file, absolute

    // The URL as text, for messages and the table.
    QString text() const;

    // The default store: ~/.local/share/quorzk/fleet.sqlite (the user's data folder).
    static StoreUrl defaultUrl();
    // A relative PATH is taken from folder. nullopt, with the reason in error, when the
    // text is no store URL.
    static std::optional<StoreUrl> parse(const QString& text, const QString& folder, QString& error);
};

} // namespace qz
