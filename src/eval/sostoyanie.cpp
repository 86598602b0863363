#include "eval/sostoyanie.h"

#include <new>

TSostoyanieVichisleniya SostoyanieVichisleniya;

void TTablicaPeremennih::Postroit(std::uint32_t n) {
    if (n > VM_PREDEL_PEREMENNIH) n = VM_PREDEL_PEREMENNIH;
    for (; postroeno_ < n; ++postroeno_) new (&zapisi_[postroeno_].p) TPeremennaya();
}

TTablicaPeremennih::~TTablicaPeremennih() {
    while (postroeno_ > 0) zapisi_[--postroeno_].p.~TPeremennaya();
}
