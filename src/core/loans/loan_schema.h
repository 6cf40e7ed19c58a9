#pragma once

// The loans' tables beside the shelf: the borrowers (a name, unique once
// its case is folded, and a contact text) and the loans of copies, each
// lent by the person or borrowed by them, with its dates as ISO text ("" for
// none). A returned loan stays as history. A deleted copy takes its loans
// with it, and a deleted movie its copies, so its loans too. At most one loan
// of a copy is open at a time, which the database itself keeps.
namespace LoanSchema {

inline constexpr char kBorrowerTable[] =
    "create table if not exists loan_borrower ("
    "id integer primary key autoincrement, name text not null,"
    " fold text not null unique, contact text not null default '')";
inline constexpr char kLoanTable[] =
    "create table if not exists loan ("
    "id integer primary key autoincrement, copy_id integer not null,"
    " borrower_id integer not null, direction text not null default 'lent',"
    " out text not null, due text not null default '', returned text not null default '',"
    " note text not null default '')";
inline constexpr char kCopyIndex[] = "create index if not exists loan_copy on loan (copy_id)";
inline constexpr char kOneOpenLoanPerCopy[] =
    "create unique index if not exists loan_open_copy on loan (copy_id) where returned = ''";
inline constexpr char kBorrowerIndex[] =
    "create index if not exists loan_borrower_loans on loan (borrower_id)";
inline constexpr char kFollowsCopy[] = "create trigger if not exists loan_follows_copy"
                                       " after delete on shelf_copy begin"
                                       " delete from loan where copy_id = old.id; end";

} // namespace LoanSchema
