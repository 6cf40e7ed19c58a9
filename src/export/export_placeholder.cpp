// The exports.
