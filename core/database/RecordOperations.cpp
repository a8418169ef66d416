#include "database/RecordOperations.h"

namespace zelk::db {

namespace {

void Reopen(TADOQuery& cursor, std::string_view statement,
            std::initializer_list<std::string_view> parameters) {
    cursor.Close();
    cursor.SetSQL(statement, parameters);
    cursor.Open();
}

void ReopenOnKey(TADOQuery& cursor, std::string_view key) {
    Reopen(cursor, kDictionaryStatement, {key});
}

}  // namespace

std::optional<std::string> FindEntry(TADOQuery& cursor, std::string_view key) {
    ReopenOnKey(cursor, key);
    if (cursor.RecordCount() <= 0) return std::nullopt;
    return cursor.FieldAsString("chr2");
}

void SaveEntry(TADOQuery& maintenanceCursor, std::string_view key, std::string_view replacement) {
    ReopenOnKey(maintenanceCursor, key);
    if (maintenanceCursor.RecordCount() > 0) {
        maintenanceCursor.Edit();
    } else {
        maintenanceCursor.Append();
    }
    maintenanceCursor.SetFieldAsString("chr1", key);
    maintenanceCursor.SetFieldAsString("chr2", replacement);
    maintenanceCursor.Post();
}

void DeleteEntry(TADOQuery& maintenanceCursor, std::string_view key) {
    ReopenOnKey(maintenanceCursor, key);
    maintenanceCursor.Delete();
}

std::string LoadSavedSentence(TADOQuery& settingsCursor) {
    Reopen(settingsCursor, kSavedSentenceStatement, {});
    return settingsCursor.FieldAsString("val");
}

void StoreSavedSentence(TADOQuery& settingsCursor, std::string_view text) {
    Reopen(settingsCursor, kSavedSentenceStatement, {});
    settingsCursor.Edit();
    settingsCursor.SetFieldAsString("val", text);
    settingsCursor.Post();
}

}  // namespace zelk::db
