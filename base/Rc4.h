#pragma once

#include <QByteArray>

// The RC4 stream cipher: the standard key scheduling over the key bytes,
// then the key stream combined with the data by exclusive or, from its first
// byte. Enciphering and deciphering are the same operation. Local databases
// of the earlier format kept their message texts this way.
QByteArray rc4(const QByteArray& key, const QByteArray& data);
