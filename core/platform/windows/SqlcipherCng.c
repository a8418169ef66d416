/* SQLCipher on Windows: the amalgamation of the npm package
 * @journeyapps/sqlcipher (see scripts/build-windows.sh), compiled with a
 * crypto provider on the system's own CNG (bcrypt.dll) instead of OpenSSL:
 * AES-256-CBC, HMAC-SHA1/256/512, PBKDF2 and random bytes. With the settings
 * of SQLCipher 3 (PRAGMA cipher_compatibility = 3, which the program sets at
 * every key), the files are those that Debian's SQLCipher writes and reads.
 */
#define SQLCIPHER_CRYPTO_CUSTOM sqlcipher_cng_setup
#include "sqlite3.c"

/* After the amalgamation, which brings windows.h. */
#include <bcrypt.h>

/* The algorithms are opened once, at the library's start: a handle serves
 * every thread, and opening one is far dearer than the work on a page. */
static BCRYPT_ALG_HANDLE cng_aes = NULL;
static BCRYPT_ALG_HANDLE cng_hmac_sha1 = NULL;
static BCRYPT_ALG_HANDLE cng_hmac_sha256 = NULL;
static BCRYPT_ALG_HANDLE cng_hmac_sha512 = NULL;

static void cng_shutdown(void) {
    BCRYPT_ALG_HANDLE* handles[] = {&cng_aes, &cng_hmac_sha1, &cng_hmac_sha256, &cng_hmac_sha512};
    for (size_t i = 0; i < sizeof handles / sizeof handles[0]; ++i) {
        if (*handles[i]) BCryptCloseAlgorithmProvider(*handles[i], 0);
        *handles[i] = NULL;
    }
}

static int cng_init(void) {
    if (BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&cng_aes, BCRYPT_AES_ALGORITHM, NULL, 0)) &&
        BCRYPT_SUCCESS(BCryptSetProperty(cng_aes, BCRYPT_CHAINING_MODE,
                                         (PUCHAR)BCRYPT_CHAIN_MODE_CBC,
                                         sizeof(BCRYPT_CHAIN_MODE_CBC), 0)) &&
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&cng_hmac_sha1, BCRYPT_SHA1_ALGORITHM, NULL,
                                                   BCRYPT_ALG_HANDLE_HMAC_FLAG)) &&
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&cng_hmac_sha256, BCRYPT_SHA256_ALGORITHM, NULL,
                                                   BCRYPT_ALG_HANDLE_HMAC_FLAG)) &&
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&cng_hmac_sha512, BCRYPT_SHA512_ALGORITHM, NULL,
                                                   BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
        return SQLITE_OK;
    }
    cng_shutdown();
    return SQLITE_ERROR;
}

static BCRYPT_ALG_HANDLE cng_hmac_algorithm(int algorithm) {
    switch (algorithm) {
        case SQLCIPHER_HMAC_SHA1:
            return cng_hmac_sha1;
        case SQLCIPHER_HMAC_SHA256:
            return cng_hmac_sha256;
        case SQLCIPHER_HMAC_SHA512:
            return cng_hmac_sha512;
        default:
            return NULL;
    }
}

static const char* cng_get_provider_name(void* ctx) {
    (void)ctx;
    return "cng";
}
static const char* cng_get_provider_version(void* ctx) {
    (void)ctx;
    return "bcrypt";
}
static const char* cng_get_cipher(void* ctx) {
    (void)ctx;
    return "aes-256-cbc";
}
static int cng_get_key_sz(void* ctx) {
    (void)ctx;
    return 32;
}
static int cng_get_iv_sz(void* ctx) {
    (void)ctx;
    return 16;
}
static int cng_get_block_sz(void* ctx) {
    (void)ctx;
    return 16;
}
static int cng_fips_status(void* ctx) {
    (void)ctx;
    return 0;
}
static int cng_ctx_init(void** ctx) {
    (void)ctx;
    return SQLITE_OK;
}
static int cng_ctx_free(void** ctx) {
    (void)ctx;
    return SQLITE_OK;
}
static int cng_add_random(void* ctx, const void* buffer, int length) {
    (void)ctx;
    (void)buffer;
    (void)length;
    return SQLITE_OK; /* the system's generator needs no seed */
}

static int cng_get_hmac_sz(void* ctx, int algorithm) {
    (void)ctx;
    switch (algorithm) {
        case SQLCIPHER_HMAC_SHA1:
            return 20;
        case SQLCIPHER_HMAC_SHA256:
            return 32;
        case SQLCIPHER_HMAC_SHA512:
            return 64;
        default:
            return 0;
    }
}

static int cng_random(void* ctx, void* buffer, int length) {
    (void)ctx;
    return BCRYPT_SUCCESS(BCryptGenRandom(NULL, (PUCHAR)buffer, (ULONG)length,
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG))
               ? SQLITE_OK
               : SQLITE_ERROR;
}

static int cng_hmac(void* ctx, int algorithm, const unsigned char* key, int key_sz,
                    const unsigned char* in, int in_sz, const unsigned char* in2, int in2_sz,
                    unsigned char* out) {
    BCRYPT_ALG_HANDLE alg = cng_hmac_algorithm(algorithm);
    BCRYPT_HASH_HANDLE hash = NULL;
    int rc = SQLITE_ERROR;
    (void)ctx;
    if (alg == NULL || in == NULL) return SQLITE_ERROR;
    if (BCRYPT_SUCCESS(BCryptCreateHash(alg, &hash, NULL, 0, (PUCHAR)key, (ULONG)key_sz, 0)) &&
        BCRYPT_SUCCESS(BCryptHashData(hash, (PUCHAR)in, (ULONG)in_sz, 0)) &&
        (in2 == NULL || BCRYPT_SUCCESS(BCryptHashData(hash, (PUCHAR)in2, (ULONG)in2_sz, 0))) &&
        BCRYPT_SUCCESS(BCryptFinishHash(hash, out, (ULONG)cng_get_hmac_sz(NULL, algorithm), 0))) {
        rc = SQLITE_OK;
    }
    if (hash) BCryptDestroyHash(hash);
    return rc;
}

static int cng_kdf(void* ctx, int algorithm, const unsigned char* pass, int pass_sz,
                   const unsigned char* salt, int salt_sz, int workfactor, int key_sz,
                   unsigned char* key) {
    BCRYPT_ALG_HANDLE alg = cng_hmac_algorithm(algorithm);
    (void)ctx;
    if (alg == NULL) return SQLITE_ERROR;
    return BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(alg, (PUCHAR)pass, (ULONG)pass_sz, (PUCHAR)salt,
                                                (ULONG)salt_sz, (ULONGLONG)workfactor, key,
                                                (ULONG)key_sz, 0))
               ? SQLITE_OK
               : SQLITE_ERROR;
}

static int cng_cipher(void* ctx, int mode, const unsigned char* key, int key_sz,
                      const unsigned char* iv, const unsigned char* in, int in_sz,
                      unsigned char* out) {
    BCRYPT_KEY_HANDLE handle = NULL;
    UCHAR chain[16];
    ULONG done = 0;
    int rc = SQLITE_ERROR;
    (void)ctx;
    memcpy(chain, iv, sizeof chain); /* CNG advances the IV it is given */
    if (BCRYPT_SUCCESS(
            BCryptGenerateSymmetricKey(cng_aes, &handle, NULL, 0, (PUCHAR)key, (ULONG)key_sz, 0))) {
        NTSTATUS status = mode == SQLCIPHER_ENCRYPT
                              ? BCryptEncrypt(handle, (PUCHAR)in, (ULONG)in_sz, NULL, chain,
                                              sizeof chain, out, (ULONG)in_sz, &done, 0)
                              : BCryptDecrypt(handle, (PUCHAR)in, (ULONG)in_sz, NULL, chain,
                                              sizeof chain, out, (ULONG)in_sz, &done, 0);
        if (BCRYPT_SUCCESS(status) && done == (ULONG)in_sz) rc = SQLITE_OK;
    }
    if (handle) BCryptDestroyKey(handle);
    return rc;
}

int sqlcipher_cng_setup(sqlcipher_provider* p) {
    p->init = cng_init;
    p->shutdown = cng_shutdown;
    p->get_provider_name = cng_get_provider_name;
    p->random = cng_random;
    p->hmac = cng_hmac;
    p->kdf = cng_kdf;
    p->cipher = cng_cipher;
    p->get_cipher = cng_get_cipher;
    p->get_key_sz = cng_get_key_sz;
    p->get_iv_sz = cng_get_iv_sz;
    p->get_block_sz = cng_get_block_sz;
    p->get_hmac_sz = cng_get_hmac_sz;
    p->ctx_init = cng_ctx_init;
    p->ctx_free = cng_ctx_free;
    p->add_random = cng_add_random;
    p->fips_status = cng_fips_status;
    p->get_provider_version = cng_get_provider_version;
    return SQLITE_OK;
}
