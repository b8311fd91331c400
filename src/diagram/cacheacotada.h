#ifndef CACHEACOTADA_H
#define CACHEACOTADA_H

#include <QHash>

// The value for key, worked out by make only the first time it is asked for
// and shared afterwards. The cache is emptied when it holds more than limite
// values: beyond any real project's needs, it would only grow.
template<typename K, typename T, typename Make>
T enCacheAcotada(QHash<K, T> &cache, const K &key, int limite, Make make)
{
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return found.value();
    if (cache.size() > limite)
        cache.clear();
    return *cache.insert(key, make(key));
}

#endif // CACHEACOTADA_H
