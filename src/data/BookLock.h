#pragma once

class Database;

// One household book held against every other program until the write transaction it is
// taken in ends: what is checked in the book under it (a bank statement's bookings already
// there) stays true until what is stored under it is committed. On the file the write
// transaction holds the whole file already; the server locks the book alone (an advisory
// lock of the transaction), so other books stay free.
class BookLock
{
public:
    // Throws DataError outside a write transaction or when the lock cannot be had.
    BookLock(const Database &db, int hhplanId);
    BookLock(const BookLock &) = delete;
    BookLock &operator=(const BookLock &) = delete;
};
