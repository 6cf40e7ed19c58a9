#pragma once

// The maker's contact page: the help text shows it, and the online lookups
// name it to the services they ask.
inline constexpr char kContactAddress[] = "https://www.tarnwick.example/contact/";
