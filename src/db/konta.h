// Account numbers of the general ledger (up to four segments joined by "-") and the
// symbols of document types in ledger postings.
#pragma once

#include <cstdint>
#include <string>

// Cleans one segment: blanks trimmed at both ends, then leading and trailing "-" removed
// (trimming again after each). Leaves the result in s and returns it.
std::string Obetnij_Myslniki(std::string& s);

// Splits an account number into its four segments, cleaned; the fourth keeps any
// further dashes ("1-2-3-4-5" gives 1, 2, 3, "4-5"); empty segments drop out
// ("201--5" gives 201, 5); the first segment is cut to 4 characters.
void Rozdziel_Konto(const std::string& konto, std::string& k1, std::string& k2, std::string& k3,
                    std::string& k4);

// Cleans the four segments in place and joins them: k1, then "-" and each of k2, k3, k4
// that is not empty (an empty k1 still leads, so the result may begin with "-").
std::string Zlacz_Konto(std::string& k1, std::string& k2, std::string& k3, std::string& k4);

// The symbol of a document type code in ledger postings; "WW" for a code not listed.
std::string Symbol_Dokumentu(int16_t kod);
