#pragma once

#include <memory>

class Connection;
class Recordset;

// Creates the objects of the data-access layer. Creating one fails with a
// description when the database engine behind them cannot be used; tests
// hand in a factory that fails.
class DataAccessFactory {
public:
    virtual ~DataAccessFactory() = default;
    virtual std::unique_ptr<Connection> createConnection() = 0;
    virtual std::unique_ptr<Recordset> createRecordset() = 0;
};

// The real one, over SQLite: a connection needs an engine that starts up
// and is of the major version the program was built for; a record-set one
// that runs a query on a database in memory.
class SqliteDataAccess : public DataAccessFactory {
public:
    std::unique_ptr<Connection> createConnection() override;
    std::unique_ptr<Recordset> createRecordset() override;
};
