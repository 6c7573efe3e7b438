// konwersja: brings the suite's database to the current version. It takes no
// arguments: the suite leaves the request and the database path in the registry.
#include "driver/start.h"

int main() {
    Form_Load();
}
