-- Roles and schemas of the hospital's guard.
--
-- chemodesk_owner owns every schema, table and function and never signs in.
-- chemodesk_workstation is granted to each workstation's login: the screens'
-- reads and writes, no DDL, no access codes, no clock, and the audit trail
-- only through its functions.

-- Roles belong to the whole server; two databases set up at once may race to
-- make them. A login that is not a superuser and runs this must own what it
-- makes, and so becomes a member of the owner role.
DO $$
BEGIN
    BEGIN
        CREATE ROLE chemodesk_owner NOLOGIN;
    EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL;
    END;
    BEGIN
        CREATE ROLE chemodesk_workstation NOLOGIN;
    EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL;
    END;
    IF NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN
        EXECUTE format('GRANT chemodesk_owner TO %I', current_user);
    END IF;
END
$$;

-- The binding compares the backend's start, which the server shows only to
-- roles allowed to read every session's statistics.
GRANT pg_read_all_stats TO chemodesk_owner;

-- Where the sessions, the trail and the access codes are kept: the owner's
-- alone.
CREATE SCHEMA IF NOT EXISTS chemodesk_private;
REVOKE ALL ON SCHEMA chemodesk_private FROM PUBLIC;

-- No one but the owner places objects in public, where the guard's functions
-- look first.
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
