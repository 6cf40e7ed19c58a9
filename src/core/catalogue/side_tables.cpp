#include "core/catalogue/side_tables.h"

#include "core/covers/cover_schema.h"
#include "core/loans/loan_schema.h"
#include "core/lookup/lookup_link_schema.h"
#include "core/shelf/shelf_schema.h"

const QList<SideSchema>& sideSchemas() {
    static const QList<SideSchema> schemas = {
        {{QStringLiteral("cover")}, {CoverSchema::kTable, CoverSchema::kTrigger}},
        {{QStringLiteral("lookup_link")}, {LookupLinkSchema::kTable, LookupLinkSchema::kTrigger}},
        {{QStringLiteral("shelf_copy"), QStringLiteral("shelf_set"),
          QStringLiteral("shelf_set_member")},
         {ShelfSchema::kCopyTable, ShelfSchema::kCopyMovieIndex, ShelfSchema::kCopyBarcodeIndex,
          ShelfSchema::kSetTable, ShelfSchema::kMemberTable, ShelfSchema::kMemberMovieIndex,
          ShelfSchema::kFollowsDvd, ShelfSchema::kMembersFollowSet,
          ShelfSchema::kMembersFollowCopy}},
        // A loan is of a copy, so the shelf's copies are made with it.
        {{QStringLiteral("loan_borrower"), QStringLiteral("loan")},
         {ShelfSchema::kCopyTable, ShelfSchema::kCopyMovieIndex, ShelfSchema::kCopyBarcodeIndex,
          ShelfSchema::kSetTable, ShelfSchema::kMemberTable, ShelfSchema::kMemberMovieIndex,
          ShelfSchema::kFollowsDvd, ShelfSchema::kMembersFollowSet, ShelfSchema::kMembersFollowCopy,
          LoanSchema::kBorrowerTable, LoanSchema::kLoanTable, LoanSchema::kCopyIndex,
          LoanSchema::kOneOpenLoanPerCopy, LoanSchema::kBorrowerIndex, LoanSchema::kFollowsCopy}},
    };
    return schemas;
}

const SideSchema* sideSchemaOf(const QString& table) {
    for (const SideSchema& schema : sideSchemas()) {
        if (schema.tables.contains(table)) {
            return &schema;
        }
    }
    return nullptr;
}
